#include "identify/system_detection_platform.h"

#include "util/environment_win.h"
#include "util/folders_win.h"
#include "util/registry_reader_win.h"

std::unique_ptr<TSystemDetectionPlatform> MakeSystemDetectionPlatform() {
    return std::make_unique<TSystemDetectionPlatform>(
        MakeSystemIdentifyPlatform(), std::make_unique<WindowsRegistryReader>(Is64BitWindows()),
        MakeSystemVersionApi(), SystemFileSystem(), GetSpecialFolderPath(kSystemFolder));
}
