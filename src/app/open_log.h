// The menu item that opens the run's log file.
#pragma once

#include "log/log.h"
#include "util/shell.h"

// Opens the log in the desktop's viewer. Before start-up has created the log there is nothing
// to open, and nothing happens.
void Openlogfile1Click(const TKLog* log, IShell& shell = SystemShell());
