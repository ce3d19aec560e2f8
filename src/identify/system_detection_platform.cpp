#include "identify/system_detection_platform.h"

#include "identify/displayed_file_info.h"
#include "identify/identify_text.h"
#include "util/file_bytes.h"
#include "util/file_info.h"
#include "util/os_error.h"

#include <algorithm>

namespace {

// ERROR_FILE_NOT_FOUND: what a file that a rule must read answers when it cannot be opened.
constexpr std::uint32_t kFileNotFound = 2;

} // namespace

TSystemDetectionPlatform::TSystemDetectionPlatform(
    std::unique_ptr<TSystemIdentifyPlatform> identify, std::unique_ptr<IRegistryReader> registry,
    std::unique_ptr<IVersionApi> versionApi, IFileSystem& fileSystem, std::string systemFolder)
    : identify_(std::move(identify)), registry_(std::move(registry)),
      versionApi_(std::move(versionApi)), fileSystem_(fileSystem),
      systemFolder_(std::move(systemFolder)) {}

std::string TSystemDetectionPlatform::NativeSystemPath(const std::string& path) {
    return identify_->NativeSystemPath(path);
}

FileVersionInfoRec TSystemDetectionPlatform::ReadVersionStrings(const std::string& path) {
    return identify_->ReadVersionStrings(path);
}

bool TSystemDetectionPlatform::IsPEImage(const std::string& path, bool& is64) {
    return identify_->IsPEImage(path, is64);
}

bool TSystemDetectionPlatform::FileExistsNonEmpty(const std::string& path) {
    return identify_->FileExistsNonEmpty(path);
}

std::vector<std::string> TSystemDetectionPlatform::LoadLines(const std::string& path) {
    return identify_->LoadLines(path);
}

std::string TSystemDetectionPlatform::GetFileVersionText(const std::string& path) {
    return identify_->GetFileVersionText(path);
}

bool TSystemDetectionPlatform::IsProgramInstalled(const std::string& prefix) {
    return identify_->IsProgramInstalled(prefix);
}

std::string TSystemDetectionPlatform::FindUninstallVersion(const std::string& name) {
    return identify_->FindUninstallVersion(name);
}

TDisplayedFileInfo TSystemDetectionPlatform::DisplayedFileInfo(const std::string& path) {
    return GetDisplayedFileInfo(path, *this);
}

std::string TSystemDetectionPlatform::FindUninstallVersionWith(const std::string& name,
                                                               const std::string& word) {
    return identify_->Uninstall().FindUninstallVersionWith(name, word);
}

std::string TSystemDetectionPlatform::FindUninstallVersionWithout(const std::string& name,
                                                                  const std::string& word) {
    return identify_->Uninstall().FindUninstallVersionWithout(name, word);
}

std::string TSystemDetectionPlatform::FindUninstallNameVersion(const std::string& name) {
    return identify_->Uninstall().FindUninstallNameVersion(name);
}

std::string TSystemDetectionPlatform::FindUninstallTitleVersion(const std::string& name) {
    return identify_->Uninstall().FindUninstallTitleVersion(name);
}

std::string TSystemDetectionPlatform::FindUninstallSecondWord(const std::string& name) {
    return identify_->Uninstall().FindUninstallSecondWord(name);
}

bool TSystemDetectionPlatform::HasVersionResource(const std::string& path) {
    return LoadVersionResource(path, *versionApi_).has_value();
}

std::string TSystemDetectionPlatform::HighestVersionSubfolder(const std::string& path) {
    return identify_->HighestVersionSubfolder(path);
}

IFileSystem& TSystemDetectionPlatform::FileSystem() {
    return fileSystem_;
}

bool TSystemDetectionPlatform::FileExists(const std::string& path) {
    return WideFileExists(path);
}

std::string TSystemDetectionPlatform::ReadFileStart(const std::string& path, std::size_t maxBytes) {
    const std::unique_ptr<IByteSource> file = OpenFileBytes(path);
    if (!file) {
        throw MakeOSError(kFileNotFound);
    }
    const std::uint64_t size = std::min<std::uint64_t>(file->Size(), maxBytes);
    return file->ReadAt(0, static_cast<std::size_t>(size));
}

std::string TSystemDetectionPlatform::ReadUtf16FileStart(const std::string& path,
                                                         std::size_t maxBytes) {
    return IdentifyTextFromUtf16Bytes(ReadFileStart(path, maxBytes));
}

std::optional<std::int32_t> TSystemDetectionPlatform::ReadFfdshowRevision() {
    if (!registry_) {
        return std::nullopt;
    }
    return registry_->ReadInteger(RegistryRoot::LocalMachine, "SOFTWARE\\GNU\\ffdshow\\",
                                  "revision");
}

std::string TSystemDetectionPlatform::SystemFolder() {
    return systemFolder_;
}

std::string IdentifyTextFromUtf16Bytes(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        bytes.remove_prefix(2);
    }
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    return IdentifyTextFromUtf16(text);
}
