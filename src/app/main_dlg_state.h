// What the main window shows, as plain data: the portable logic computes it, the Win32 view
// applies it, and the export and search buttons read it back as the window's list views.
#pragma once

#include "memory/memory_view.h"

#include <array>
#include <string>

inline constexpr int kDesignedClientWidth = 751;
inline constexpr int kDesignedClientHeight = 495;
// Outer width of the window once narrowed to the left column of slot panels:
// general_grp left + slot1_grp left + slot1_grp width + 16.
inline constexpr int kNarrowedWindowWidth = 2 + 8 + 361 + 16;

struct MainDlgState : MemoryView {
    std::string caption = "MainDlg";
    // The banner draws its own dark colour also under visual styles once start-up has switched it
    // to its parent's background and straight back.
    bool bannerOwnColour = false;
    bool checkForUpdateEnabled = true; // the menu item Checkforupdate1
    // From the start of the module scan to its answer: the slot panels show no list view and no
    // button meanwhile.
    bool scanPending = false;

    // The captions of getRAM1_btn..getRAM4_btn; none at design time.
    std::array<std::string, kSlotPanelCount> emptySlotCaptions;

    bool operator==(const MainDlgState&) const = default;
};
