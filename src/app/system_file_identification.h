// The update check's view of a program file through the identification engine: its displayed
// product and company names and its detected version.
#pragma once

#include "identify/version_detection_platform.h"
#include "update/file_identification.h"

class TSystemFileIdentification final : public IFileIdentification {
public:
    // The platform must outlive this object.
    explicit TSystemFileIdentification(IVersionDetectionPlatform& platform) : platform_(platform) {}

    DisplayedNames DisplayedFileInfo(const std::string& path) override;
    std::string FileVersion(const std::string& path) override;

private:
    IVersionDetectionPlatform& platform_;
};
