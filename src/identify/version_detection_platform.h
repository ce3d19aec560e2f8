// What the version detection asks of the machine beyond what the name rules ask: the uninstall
// entries, folder searches, a few files beside a program and one registry value.
#pragma once

#include "identify/displayed_file_info.h"
#include "identify/identify_platform.h"
#include "util/file_system.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class IVersionDetectionPlatform : public IIdentifyPlatform {
public:
    // The product and company names of the file (the update service's names).
    virtual TDisplayedFileInfo DisplayedFileInfo(const std::string& path) = 0;

    // The uninstall lookups, each answering a version text or empty text.
    virtual std::string FindUninstallVersionWith(const std::string& name,
                                                 const std::string& word) = 0;
    virtual std::string FindUninstallVersionWithout(const std::string& name,
                                                    const std::string& word) = 0;
    virtual std::string FindUninstallNameVersion(const std::string& name) = 0;
    virtual std::string FindUninstallTitleVersion(const std::string& name) = 0;
    virtual std::string FindUninstallSecondWord(const std::string& name) = 0;

    // False when the file has no version resource (or is missing).
    virtual bool HasVersionResource(const std::string& path) = 0;

    // The name, cut before its last ".", of the highest version-named folder beside the file.
    virtual std::string HighestVersionSubfolder(const std::string& path) = 0;

    // The file system for the folder searches.
    virtual IFileSystem& FileSystem() = 0;

    // True when a file of that name exists, whatever its size.
    virtual bool FileExists(const std::string& path) = 0;

    // The file's first bytes, at most maxBytes. Raises an error when the file cannot be read.
    virtual std::string ReadFileStart(const std::string& path, std::size_t maxBytes) = 0;

    // The file's first bytes (at most maxBytes) read as UTF-16 text, in the identification's
    // 8-bit text. Raises an error when the file cannot be read.
    virtual std::string ReadUtf16FileStart(const std::string& path, std::size_t maxBytes) = 0;

    // The integer value "revision" of the codec's machine key; nothing when key or value is
    // missing.
    virtual std::optional<std::int32_t> ReadFfdshowRevision() = 0;

    // The system folder's path, or empty text.
    virtual std::string SystemFolder() = 0;
};
