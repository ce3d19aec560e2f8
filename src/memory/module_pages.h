// The pages of the slot panels: with more than four modules the four panels show modules 1-4,
// 5-8, 9-12 ... one page at a time, and a pager beside the system panel turns the pages.
#pragma once

#include "memory/memory_view.h"

#include <cstddef>

// The pages that the modules fill, four to a page; 0 with at most four, which need no pager.
int ModulePageCount(std::size_t moduleCount);

// Shows a page (held to the pages there are) in the four panels. Panel i shows module
// 4 x page + i with its list view and search button; a panel past the last module shows its
// empty-slot button when the board has that slot, and is disabled otherwise, as on the first
// page. Numbers the panels' captions after the page's slots and sets the pager.
void ShowModulePage(MemoryView& view, int page);
