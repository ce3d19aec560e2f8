// The product and company names shown for a program file and sent to the update server.
#pragma once

#include "identify/identify_platform.h"

#include <string>

struct TDisplayedFileInfo {
    std::string Product;
    std::string Company;
};

// The product and company names of the program file at path (or of a codec-pack token). A file
// without any version texts gets its base name as product name once a company is known. An error
// of a file that a rule loads reaches the caller.
TDisplayedFileInfo GetDisplayedFileInfo(const std::string& path, IIdentifyPlatform& platform);
