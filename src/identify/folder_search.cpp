#include "identify/folder_search.h"

#include "identify/string_helpers.h"

#include <algorithm>
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

// One recursive search: what it looks for, where it puts what it finds, and how many more
// entries it may list.
struct Walk {
    IFileSystem& fileSystem;
    const NameTest& matches;
    std::vector<std::string>& list;
    std::size_t entriesLeft = kMaxSearchEntries;
};

void SearchFiles(Walk& walk, const std::string& folder, int depth) {
    const std::string prefix = WithSeparator(folder);
    const std::vector<std::string> names =
        walk.fileSystem.ListEntries(prefix + "*", walk.entriesLeft);
    walk.entriesLeft -= std::min(names.size(), walk.entriesLeft);
    for (const std::string& name : names) {
        if (IsDotEntry(name)) {
            continue;
        }
        const std::string path = prefix + name;
        if (walk.fileSystem.WideDirectoryExists(path)) {
            // A link may lead back up the tree (a folder linked to itself walks without end).
            if (depth < kMaxSearchDepth && walk.entriesLeft > 0 && !walk.fileSystem.IsLink(path)) {
                SearchFiles(walk, path, depth + 1);
            }
        } else if (walk.matches(name)) {
            walk.list.push_back(path);
        }
    }
}

void SearchFiles(IFileSystem& fileSystem, const std::string& folder, const NameTest& matches,
                 std::vector<std::string>& list) {
    Walk walk{fileSystem, matches, list};
    SearchFiles(walk, folder, 0);
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
    for (const std::string& name : fileSystem.ListEntries(prefix + "*", kMaxSearchEntries)) {
        if (!IsDotEntry(name) && fileSystem.WideDirectoryExists(prefix + name)) {
            list.push_back(prefix + name);
        }
    }
}
