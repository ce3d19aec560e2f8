#include "identify/system_identify_platform.h"

#include "identify/displayed_file_info.h"
#include "identify/folder_search.h"
#include "identify/identify_text.h"
#include "identify/pe_image.h"
#include "identify/string_helpers.h"
#include "identify/version_strings.h"
#include "util/file_bytes.h"
#include "util/file_info.h"
#include "util/os_error.h"
#include "util/uninstall_entries.h"
#include "util/version.h"

#include <algorithm>

namespace {

// ERROR_FILE_NOT_FOUND: what a file that a rule must read answers when it cannot be opened.
constexpr std::uint32_t kFileNotFound = 2;

// Descriptor and settings files hold their values on single lines near their start; the rest of
// a large one is never read.
constexpr std::size_t kLinesFileBytes = 256 * 1024;

} // namespace

TSystemIdentifyPlatform::TSystemIdentifyPlatform(IdentifyMachine machine,
                                                 std::unique_ptr<IRegistryReader> registry,
                                                 std::unique_ptr<IVersionApi> versionApi,
                                                 IFileSystem& fileSystem)
    : machine_(std::move(machine)), registry_(std::move(registry)),
      versionApi_(std::move(versionApi)), fileSystem_(fileSystem),
      uninstall_(*registry_, machine_.is64BitWindows) {}

std::string TSystemIdentifyPlatform::NativeSystemPath(const std::string& path) {
    return ::NativeSystemPath(path, machine_.processRunsUnderWow64, machine_.systemFolder);
}

FileVersionInfoRec TSystemIdentifyPlatform::ReadVersionStrings(const std::string& path) {
    return ::ReadVersionStrings(NativeSystemPath(path), *versionApi_);
}

bool TSystemIdentifyPlatform::IsPEImage(const std::string& path, bool& is64) {
    return ::IsPEImage(path, is64);
}

bool TSystemIdentifyPlatform::FileExistsNonEmpty(const std::string& path) {
    return ::FileExistsNonEmpty(path, fileSystem_);
}

std::vector<std::string> TSystemIdentifyPlatform::LoadLines(const std::string& path) {
    if (openIdentifications_ == 0) {
        return SplitLines(ReadFileStart(path, kLinesFileBytes));
    }
    const auto found = linesRead_.find(path);
    if (found != linesRead_.end()) {
        return found->second;
    }
    return linesRead_.emplace(path, SplitLines(ReadFileStart(path, kLinesFileBytes))).first->second;
}

void TSystemIdentifyPlatform::BeginIdentification() {
    ++openIdentifications_;
}

void TSystemIdentifyPlatform::EndIdentification() {
    if (--openIdentifications_ == 0) {
        linesRead_.clear();
    }
}

std::string TSystemIdentifyPlatform::GetFileVersionText(const std::string& path) {
    if (!WideFileExists(path)) {
        return "File not found";
    }
    const auto resource = LoadVersionResource(path);
    if (!resource) {
        return {};
    }
    const auto fixed = ParseVersionResource(*resource).fixed;
    return fixed ? FormatFileVersion(fixed->fileVersion) : std::string();
}

bool TSystemIdentifyPlatform::IsProgramInstalled(const std::string& prefix) {
    return ::IsProgramInstalled(*registry_, machine_.is64BitWindows, prefix);
}

std::string TSystemIdentifyPlatform::FindUninstallVersion(const std::string& name) {
    return uninstall_.FindUninstallVersion(name);
}

std::string TSystemIdentifyPlatform::HighestVersionSubfolder(const std::string& path) {
    return ::HighestVersionSubfolder(path, fileSystem_);
}

TDisplayedFileInfo TSystemIdentifyPlatform::DisplayedFileInfo(const std::string& path) {
    return GetDisplayedFileInfo(path, *this);
}

std::string TSystemIdentifyPlatform::FindUninstallVersionWith(const std::string& name,
                                                              const std::string& word) {
    return uninstall_.FindUninstallVersionWith(name, word);
}

std::string TSystemIdentifyPlatform::FindUninstallVersionWithout(const std::string& name,
                                                                 const std::string& word) {
    return uninstall_.FindUninstallVersionWithout(name, word);
}

std::string TSystemIdentifyPlatform::FindUninstallNameVersion(const std::string& name) {
    return uninstall_.FindUninstallNameVersion(name);
}

std::string TSystemIdentifyPlatform::FindUninstallTitleVersion(const std::string& name) {
    return uninstall_.FindUninstallTitleVersion(name);
}

std::string TSystemIdentifyPlatform::FindUninstallSecondWord(const std::string& name) {
    return uninstall_.FindUninstallSecondWord(name);
}

bool TSystemIdentifyPlatform::HasVersionResource(const std::string& path) {
    return LoadVersionResource(path).has_value();
}

IFileSystem& TSystemIdentifyPlatform::FileSystem() {
    return fileSystem_;
}

bool TSystemIdentifyPlatform::FileExists(const std::string& path) {
    return WideFileExists(path);
}

std::string TSystemIdentifyPlatform::ReadFileStart(const std::string& path, std::size_t maxBytes) {
    const std::unique_ptr<IByteSource> file = OpenFileBytes(path);
    if (!file) {
        throw MakeOSError(kFileNotFound);
    }
    const std::uint64_t size = std::min<std::uint64_t>(file->Size(), maxBytes);
    return file->ReadAt(0, static_cast<std::size_t>(size));
}

std::string TSystemIdentifyPlatform::ReadUtf16FileStart(const std::string& path,
                                                        std::size_t maxBytes) {
    return IdentifyTextFromUtf16Bytes(ReadFileStart(path, maxBytes));
}

std::optional<std::int32_t> TSystemIdentifyPlatform::ReadFfdshowRevision() {
    return registry_->ReadInteger(RegistryRoot::LocalMachine, "SOFTWARE\\GNU\\ffdshow\\",
                                  "revision");
}

std::string TSystemIdentifyPlatform::SystemFolder() {
    return machine_.systemFolder;
}

std::string HighestVersionSubfolder(const std::string& path, IFileSystem& fileSystem) {
    std::vector<std::string> subfolders;
    ListSubfolders(PathFolder(path), subfolders, fileSystem);
    std::string result;
    for (const std::string& subfolder : subfolders) {
        std::string candidate = FileBaseName(subfolder);
        if (TVeyraVersion(candidate).IsNewerThan(TVeyraVersion(result))) {
            result = std::move(candidate);
        }
    }
    return result;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(begin));
            break;
        }
        lines.emplace_back(text.substr(begin, end - begin));
        begin = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}
