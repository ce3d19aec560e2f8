// The machine as the version detection sees it: the identification platform of this system and
// what the product rules read besides (files beside a program, one registry value).
#pragma once

#include "identify/system_identify_platform.h"
#include "identify/version_api.h"
#include "identify/version_detection_platform.h"
#include "util/registry_reader.h"

#include <memory>
#include <string>

class TSystemDetectionPlatform final : public IVersionDetectionPlatform {
public:
    // registry may be absent (a build without a registry): the registry value then reads as
    // missing.
    TSystemDetectionPlatform(std::unique_ptr<TSystemIdentifyPlatform> identify,
                             std::unique_ptr<IRegistryReader> registry,
                             std::unique_ptr<IVersionApi> versionApi, IFileSystem& fileSystem,
                             std::string systemFolder);

    std::string NativeSystemPath(const std::string& path) override;
    FileVersionInfoRec ReadVersionStrings(const std::string& path) override;
    bool IsPEImage(const std::string& path, bool& is64) override;
    bool FileExistsNonEmpty(const std::string& path) override;
    std::vector<std::string> LoadLines(const std::string& path) override;
    std::string GetFileVersionText(const std::string& path) override;
    bool IsProgramInstalled(const std::string& prefix) override;
    std::string FindUninstallVersion(const std::string& name) override;

    TDisplayedFileInfo DisplayedFileInfo(const std::string& path) override;
    std::string FindUninstallVersionWith(const std::string& name, const std::string& word) override;
    std::string FindUninstallVersionWithout(const std::string& name,
                                            const std::string& word) override;
    std::string FindUninstallNameVersion(const std::string& name) override;
    std::string FindUninstallTitleVersion(const std::string& name) override;
    std::string FindUninstallSecondWord(const std::string& name) override;
    bool HasVersionResource(const std::string& path) override;
    std::string HighestVersionSubfolder(const std::string& path) override;
    IFileSystem& FileSystem() override;
    bool FileExists(const std::string& path) override;
    std::string ReadFileStart(const std::string& path, std::size_t maxBytes) override;
    std::string ReadUtf16FileStart(const std::string& path, std::size_t maxBytes) override;
    std::optional<std::int32_t> ReadFfdshowRevision() override;
    std::string SystemFolder() override;

private:
    std::unique_ptr<TSystemIdentifyPlatform> identify_;
    std::unique_ptr<IRegistryReader> registry_;
    std::unique_ptr<IVersionApi> versionApi_;
    IFileSystem& fileSystem_;
    std::string systemFolder_;
};

// This system's platform (system_detection_platform_win.cpp, _posix.cpp).
std::unique_ptr<TSystemDetectionPlatform> MakeSystemDetectionPlatform();

// UTF-16 bytes (little-endian, an optional byte-order mark) in the identification's 8-bit text;
// an odd last byte is ignored.
std::string IdentifyTextFromUtf16Bytes(std::string_view bytes);
