// The machine as the identification rules and the version detection see it, composed of the real
// seams: the file reader and the platform's version reading, the file system, and the registry
// (64-bit view on a 64-bit system). Portable: each build supplies its seams through
// MakeSystemIdentifyPlatform.
#pragma once

#include "identify/uninstall_lookup.h"
#include "identify/version_api.h"
#include "identify/version_detection_platform.h"
#include "util/file_system.h"
#include "util/registry_reader.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// Facts about the machine and the process, learnt once when the platform is made.
struct IdentifyMachine {
    bool is64BitWindows = false;
    bool processRunsUnderWow64 = false;
    std::string systemFolder; // the system folder's path, empty when unknown
};

class TSystemIdentifyPlatform final : public IVersionDetectionPlatform {
public:
    TSystemIdentifyPlatform(IdentifyMachine machine, std::unique_ptr<IRegistryReader> registry,
                            std::unique_ptr<IVersionApi> versionApi, IFileSystem& fileSystem);

    std::string NativeSystemPath(const std::string& path) override;
    FileVersionInfoRec ReadVersionStrings(const std::string& path) override;
    bool IsPEImage(const std::string& path, bool& is64) override;
    bool FileExistsNonEmpty(const std::string& path) override;
    std::vector<std::string> LoadLines(const std::string& path) override;
    std::string GetFileVersionText(const std::string& path) override;
    bool IsProgramInstalled(const std::string& prefix) override;
    std::string FindUninstallVersion(const std::string& name) override;
    void BeginIdentification() override;
    void EndIdentification() override;

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

    const TUninstallLookup& Uninstall() const { return uninstall_; }

private:
    IdentifyMachine machine_;
    std::unique_ptr<IRegistryReader> registry_;
    std::unique_ptr<IVersionApi> versionApi_;
    IFileSystem& fileSystem_;
    TUninstallLookup uninstall_;
    int openIdentifications_ = 0;
    std::map<std::string, std::vector<std::string>> linesRead_; // while an identification is open
};

// The name of the highest version among the folders beside the file at path: each folder's name
// cut before its last "." ("120.0.6099.130" counts as 120.0.6099); empty text when none is a
// version.
std::string HighestVersionSubfolder(const std::string& path, IFileSystem& fileSystem);

// Splits a file's text into lines at "\r\n", "\n" or "\r"; a final line end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// This system's platform (system_identify_platform_win.cpp, _posix.cpp).
std::unique_ptr<TSystemIdentifyPlatform> MakeSystemIdentifyPlatform();
