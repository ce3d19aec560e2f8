// The eight standard strings of a program file's version resource.
#pragma once

#include <string>

// Each field is the program's 8-bit text; a key the resource lacks gives empty text. In
// FileVersion and ProductVersion every ", " has become "." (1, 2, 3, 4 reads 1.2.3.4).
struct FileVersionInfoRec {
    std::string FileDescription;
    std::string CompanyName;
    std::string FileVersion;
    std::string InternalName;
    std::string LegalCopyright;
    std::string OriginalFilename;
    std::string ProductName;
    std::string ProductVersion;
};
