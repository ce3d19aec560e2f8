#include "identify/folder_search.h"

#include "identify/string_helpers.h"

#include <functional>
#include <string_view>

namespace {

// Redirection is off from the start of the outermost search to its end, however it ends.
class RedirectionOff {
public:
    explicit RedirectionOff(IFileSystem& fileSystem) : fileSystem_(fileSystem) {
        fileSystem_.SetWow64Redirection(true);
    }
    RedirectionOff(const RedirectionOff&) = delete;
    RedirectionOff& operator=(const RedirectionOff&) = delete;
    ~RedirectionOff() { fileSystem_.SetWow64Redirection(false); }

private:
    IFileSystem& fileSystem_;
};

std::string WithSeparator(const std::string& folder) {
    return EndsWithSeparator(folder) ? folder : folder + '\\';
}

bool IsDotEntry(const std::string& name) {
    return name == "." || name == "..";
}

// The extension of a file name, its last "." included; empty when the name has no ".".
std::string_view Extension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

using NameTest = std::function<bool(const std::string& name)>;

void SearchFiles(IFileSystem& fileSystem, const std::string& folder, const NameTest& matches,
                 std::vector<std::string>& list) {
    const std::string prefix = WithSeparator(folder);
    for (const std::string& name : fileSystem.ListEntries(prefix + "*")) {
        if (IsDotEntry(name)) {
            continue;
        }
        const std::string path = prefix + name;
        if (fileSystem.WideDirectoryExists(path)) {
            SearchFiles(fileSystem, path, matches, list);
        } else if (matches(name)) {
            list.push_back(path);
        }
    }
}

} // namespace

void FindFilesByExtension(const std::string& folder, const std::string& extension,
                          std::vector<std::string>& list, IFileSystem& fileSystem) {
    const RedirectionOff redirectionOff(fileSystem);
    SearchFiles(
        fileSystem, folder,
        [&extension](const std::string& name) { return EqualsNoCase(Extension(name), extension); },
        list);
}

void FindFilesByName(const std::string& folder, const std::string& name,
                     std::vector<std::string>& list, IFileSystem& fileSystem) {
    const RedirectionOff redirectionOff(fileSystem);
    SearchFiles(
        fileSystem, folder, [&name](const std::string& entry) { return EqualsNoCase(entry, name); },
        list);
}

void ListSubfolders(const std::string& folder, std::vector<std::string>& list,
                    IFileSystem& fileSystem) {
    const RedirectionOff redirectionOff(fileSystem);
    const std::string prefix = WithSeparator(folder);
    for (const std::string& name : fileSystem.ListEntries(prefix + "*")) {
        if (!IsDotEntry(name) && fileSystem.WideDirectoryExists(prefix + name)) {
            list.push_back(prefix + name);
        }
    }
}
