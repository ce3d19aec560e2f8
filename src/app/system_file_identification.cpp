#include "app/system_file_identification.h"

#include "identify/displayed_file_info.h"
#include "identify/version_detection.h"

DisplayedNames TSystemFileIdentification::DisplayedFileInfo(const std::string& path) {
    const TDisplayedFileInfo info = GetDisplayedFileInfo(path, platform_);
    return {info.Product, info.Company};
}

std::string TSystemFileIdentification::FileVersion(const std::string& path) {
    std::string examined = path;
    return DetectFileVersion(examined, platform_);
}
