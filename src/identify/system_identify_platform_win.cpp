#include "identify/system_identify_platform.h"

#include "util/environment_win.h"
#include "util/folders_win.h"
#include "util/registry_reader_win.h"

std::unique_ptr<TSystemIdentifyPlatform> MakeSystemIdentifyPlatform() {
    IdentifyMachine machine;
    machine.is64BitWindows = Is64BitWindows();
    machine.processRunsUnderWow64 = ProcessRunsUnderWow64();
    machine.systemFolder = GetSpecialFolderPath(kSystemFolder);
    auto registry = std::make_unique<WindowsRegistryReader>(machine.is64BitWindows);
    return std::make_unique<TSystemIdentifyPlatform>(std::move(machine), std::move(registry),
                                                     MakeSystemVersionApi(), SystemFileSystem());
}
