// A machine for the version detection's tests: program files with a fixed version, version
// strings and displayed names, other files with their bytes, and canned answers of the
// uninstall lookups.
#pragma once

#include "identify/string_helpers.h"
#include "identify/version_detection_platform.h"

#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct FakeProgram {
    std::string fixedVersion; // GetFileVersionText; empty for a file without version resource
    FileVersionInfoRec info;
    TDisplayedFileInfo names;
    bool hasResource = true;
};

class FakeDetectionPlatform : public IVersionDetectionPlatform, public IFileSystem {
public:
    std::map<std::string, FakeProgram> programs;
    std::map<std::string, std::string> files;     // other files and their bytes
    std::map<std::string, std::string> uninstall; // "Kind:name[|word]" -> answer
    std::vector<std::string> unreadable;          // files that exist but cannot be read
    std::optional<std::int32_t> ffdshowRevision;
    std::string systemFolder = "C:\\Windows\\system32";
    std::map<std::string, std::string> highestSubfolder;
    std::vector<std::string> detected; // every path whose names were asked for, in order

    FakeProgram& Program(const std::string& path, const std::string& fixedVersion,
                         const std::string& product = "", const std::string& company = "") {
        FakeProgram& program = programs[path];
        program.fixedVersion = fixedVersion;
        program.names = {product, company};
        return program;
    }

    std::string NativeSystemPath(const std::string& path) override { return path; }
    FileVersionInfoRec ReadVersionStrings(const std::string& path) override {
        const auto found = programs.find(path);
        return found == programs.end() ? FileVersionInfoRec{} : found->second.info;
    }
    bool IsPEImage(const std::string& path, bool& is64) override {
        is64 = false;
        return programs.count(path) != 0;
    }
    bool FileExistsNonEmpty(const std::string& path) override {
        const auto file = files.find(path);
        return programs.count(path) != 0 || (file != files.end() && !file->second.empty());
    }
    std::vector<std::string> LoadLines(const std::string& path) override {
        std::vector<std::string> lines;
        std::string text = ReadFileStart(path, std::string::npos);
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }
    std::string GetFileVersionText(const std::string& path) override {
        const auto found = programs.find(path);
        if (found != programs.end()) {
            return found->second.fixedVersion;
        }
        return files.count(path) ? std::string() : std::string("File not found");
    }
    bool IsProgramInstalled(const std::string&) override { return false; }
    std::string FindUninstallVersion(const std::string& name) override {
        return Answer("Version:" + name);
    }
    TDisplayedFileInfo DisplayedFileInfo(const std::string& path) override {
        detected.push_back(path);
        const auto found = programs.find(path);
        return found == programs.end() ? TDisplayedFileInfo{} : found->second.names;
    }
    std::string FindUninstallVersionWith(const std::string& name,
                                         const std::string& word) override {
        return Answer("With:" + name + "|" + word);
    }
    std::string FindUninstallVersionWithout(const std::string& name,
                                            const std::string& word) override {
        return Answer("Without:" + name + "|" + word);
    }
    std::string FindUninstallNameVersion(const std::string& name) override {
        return Answer("Name:" + name);
    }
    std::string FindUninstallTitleVersion(const std::string& name) override {
        return Answer("Title:" + name);
    }
    std::string FindUninstallSecondWord(const std::string& name) override {
        return Answer("Second:" + name);
    }
    bool HasVersionResource(const std::string& path) override {
        const auto found = programs.find(path);
        return found != programs.end() && found->second.hasResource;
    }
    std::string HighestVersionSubfolder(const std::string& path) override {
        return highestSubfolder[path];
    }
    IFileSystem& FileSystem() override { return *this; }
    bool FileExists(const std::string& path) override {
        return programs.count(path) != 0 || files.count(path) != 0;
    }
    std::string ReadFileStart(const std::string& path, std::size_t maxBytes) override {
        for (const std::string& bad : unreadable) {
            if (bad == path) {
                throw std::runtime_error("cannot read " + path);
            }
        }
        const auto file = files.find(path);
        if (file == files.end()) {
            throw std::runtime_error("no file " + path);
        }
        return file->second.substr(0, maxBytes);
    }
    std::string ReadUtf16FileStart(const std::string& path, std::size_t maxBytes) override {
        // The fake's files already hold the converted text.
        return ReadFileStart(path, maxBytes);
    }
    std::optional<std::int32_t> ReadFfdshowRevision() override { return ffdshowRevision; }
    std::string SystemFolder() override { return systemFolder; }

    // A listing built from the programs and files below the pattern's folder.
    std::vector<std::string> ListEntries(const std::string& pattern, std::size_t) override {
        const std::string folder = pattern.substr(0, pattern.size() - 1); // without "*"
        std::vector<std::string> names;
        const auto add = [&](const std::string& path) {
            if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) {
                return;
            }
            const std::string rest = path.substr(folder.size());
            const std::string entry = rest.substr(0, rest.find('\\'));
            if (std::find(names.begin(), names.end(), entry) == names.end()) {
                names.push_back(entry);
            }
        };
        for (const auto& [path, program] : programs) {
            add(path);
        }
        for (const auto& [path, bytes] : files) {
            add(path);
        }
        return names;
    }
    bool WideDirectoryExists(const std::string& path) override {
        const std::string prefix = path + "\\";
        const auto below = [&prefix](const auto& entries) {
            for (const auto& entry : entries) {
                if (entry.first.compare(0, prefix.size(), prefix) == 0) {
                    return true;
                }
            }
            return false;
        };
        return below(programs) || below(files);
    }
    bool IsLink(const std::string&) override { return false; }
    bool SetWow64Redirection(bool) override { return true; }

private:
    std::string Answer(const std::string& key) const {
        const auto found = uninstall.find(key);
        return found == uninstall.end() ? std::string() : found->second;
    }
};
