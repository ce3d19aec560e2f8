#include "identify/system_detection_platform.h"

std::unique_ptr<TSystemDetectionPlatform> MakeSystemDetectionPlatform() {
    return std::make_unique<TSystemDetectionPlatform>(MakeSystemIdentifyPlatform(), nullptr,
                                                      MakeSystemVersionApi(), SystemFileSystem(),
                                                      std::string());
}
