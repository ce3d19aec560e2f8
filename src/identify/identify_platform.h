// What the identification rules ask of the machine: version resources, file tests, small text
// files and the uninstall entries. The rules are portable logic over this seam; tests give them a
// fake machine, the program the real one.
#pragma once

#include "identify/version_info.h"

#include <string>
#include <vector>

class IIdentifyPlatform {
public:
    virtual ~IIdentifyPlatform() = default;

    // The path through which this process reaches the file (a 32-bit process on 64-bit Windows
    // reaches the 64-bit system folder through "\sysnative\"); otherwise the path unchanged.
    virtual std::string NativeSystemPath(const std::string& path) = 0;

    // The eight strings of the file's version resource; empty fields for what cannot be read.
    // Never fails.
    virtual FileVersionInfoRec ReadVersionStrings(const std::string& path) = 0;

    // True when the file has the "MZ" and "PE\0\0" signatures; is64 tells a 64-bit image.
    virtual bool IsPEImage(const std::string& path, bool& is64) = 0;

    // True for an existing file of at least one byte.
    virtual bool FileExistsNonEmpty(const std::string& path) = 0;

    // The lines of a one-line descriptor or settings file, without their line ends, from at most
    // its first 256 KiB. While an identification is open, each file is read once. Raises an
    // error when the file cannot be read.
    virtual std::vector<std::string> LoadLines(const std::string& path) = 0;

    // The fixed file version as "a.b.c.d"; empty text without a version resource.
    virtual std::string GetFileVersionText(const std::string& path) = 0;

    // True when an installed program's display name begins with prefix (ASCII case ignored).
    virtual bool IsProgramInstalled(const std::string& prefix) = 0;

    // The greatest "DisplayVersion" among the uninstall entries whose display name contains
    // name (ASCII case ignored); empty text when none.
    virtual std::string FindUninstallVersion(const std::string& name) = 0;

    // The start and end of one identification (see IdentificationScope); nested ones count as
    // part of the outermost. A platform may keep the files it read until the outermost ends;
    // one that keeps nothing ignores them.
    virtual void BeginIdentification() {}
    virtual void EndIdentification() {}
};

// One identification of a file, from construction to destruction: its rules read each file
// beside the program once, however many of them ask.
class IdentificationScope {
public:
    explicit IdentificationScope(IIdentifyPlatform& platform) : platform_(platform) {
        platform_.BeginIdentification();
    }
    IdentificationScope(const IdentificationScope&) = delete;
    IdentificationScope& operator=(const IdentificationScope&) = delete;
    ~IdentificationScope() { platform_.EndIdentification(); }

private:
    IIdentifyPlatform& platform_;
};
