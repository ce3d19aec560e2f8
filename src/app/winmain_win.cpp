// The program entry: the program over the system's instrumentation service.
#include "app/program_win.h"
#include "wmi/com_automation_win.h"

#include <windows.h>

#include <memory>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return RunSlotvane(instance, showCommand, [] { return std::make_unique<TComAutomation>(); });
}
