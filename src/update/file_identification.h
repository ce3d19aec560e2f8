// What the update check needs to know about the program's own file, behind a seam: the displayed
// product and company names and the detected version text.
#pragma once

#include <string>

struct DisplayedNames {
    std::string Product;
    std::string Company;
};

class IFileIdentification {
public:
    virtual ~IFileIdentification() = default;
    virtual DisplayedNames DisplayedFileInfo(const std::string& path) = 0;
    // Raises when the version cannot be detected.
    virtual std::string FileVersion(const std::string& path) = 0;
};
