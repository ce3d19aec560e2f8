#include "identify/system_identify_platform.h"

#include "identify/folder_search.h"
#include "identify/pe_image.h"
#include "identify/string_helpers.h"
#include "identify/version_strings.h"
#include "update/version.h"
#include "util/file_bytes.h"
#include "util/file_info.h"
#include "util/uninstall_entries.h"

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
    return SplitLines(ReadWholeFile(path));
}

std::string TSystemIdentifyPlatform::GetFileVersionText(const std::string& path) {
    if (!WideFileExists(path)) {
        return "File not found";
    }
    const auto resource = LoadVersionResource(path, *versionApi_);
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

std::string HighestVersionSubfolder(const std::string& path, IFileSystem& fileSystem) {
    const std::size_t separator = path.rfind('\\');
    const std::string folder =
        separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
    std::vector<std::string> subfolders;
    ListSubfolders(folder, subfolders, fileSystem);
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
