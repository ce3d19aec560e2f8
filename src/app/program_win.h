// The program: the main window over this machine, and the message loop until it has closed.
#pragma once

#include "app/scan_worker_win.h"

#include <windows.h>

// Runs the program and returns its exit code. The module scan's queries use the automation
// factories that `scanAutomation` makes: the system's in slotvane.exe, a slowed one in the
// benchmark's build.
int RunSlotvane(HINSTANCE instance, int showCommand, ScanAutomationMaker scanAutomation);
