// An in-memory machine for the identification rules: version records, small text files, the
// images' bitness, installed programs and uninstall versions. Paths are compared exactly.
#pragma once

#include "identify/identify_platform.h"

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

class FakeIdentifyPlatform : public IIdentifyPlatform {
public:
    std::map<std::string, std::string> nativePaths;        // path -> the path the process uses
    std::map<std::string, FileVersionInfoRec> records;     // program file -> version strings
    std::map<std::string, std::vector<std::string>> files; // text file -> lines
    std::set<std::string> unreadable;                      // files that exist but cannot be read
    std::map<std::string, bool> images;                    // PE image -> is 64-bit
    std::map<std::string, std::string> fileVersions;       // program file -> "a.b.c.d"
    std::vector<std::string> installed;                    // display names
    std::map<std::string, std::string> uninstallVersions;  // name -> DisplayVersion
    std::vector<std::string> versionReads;                 // every path ReadVersionStrings saw

    std::string NativeSystemPath(const std::string& path) override {
        const auto found = nativePaths.find(path);
        return found == nativePaths.end() ? path : found->second;
    }

    FileVersionInfoRec ReadVersionStrings(const std::string& path) override {
        versionReads.push_back(path);
        const auto found = records.find(path);
        return found == records.end() ? FileVersionInfoRec{} : found->second;
    }

    bool IsPEImage(const std::string& path, bool& is64) override {
        const auto found = images.find(path);
        is64 = found != images.end() && found->second;
        return found != images.end();
    }

    bool FileExistsNonEmpty(const std::string& path) override {
        const auto found = files.find(path);
        return unreadable.contains(path) || records.contains(path) ||
               (found != files.end() && !found->second.empty());
    }

    std::vector<std::string> LoadLines(const std::string& path) override {
        const auto found = files.find(path);
        if (unreadable.contains(path) || found == files.end()) {
            throw std::runtime_error("cannot read " + path);
        }
        return found->second;
    }

    std::string GetFileVersionText(const std::string& path) override {
        const auto found = fileVersions.find(path);
        return found == fileVersions.end() ? std::string() : found->second;
    }

    bool IsProgramInstalled(const std::string& prefix) override {
        for (const std::string& name : installed) {
            if (name.size() >= prefix.size() &&
                EqualsAscii(name.substr(0, prefix.size()), prefix)) {
                return true;
            }
        }
        return false;
    }

    std::string FindUninstallVersion(const std::string& name) override {
        const auto found = uninstallVersions.find(name);
        return found == uninstallVersions.end() ? std::string() : found->second;
    }

private:
    static bool EqualsAscii(const std::string& a, const std::string& b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            const auto fold = [](char c) {
                return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            };
            if (fold(a[i]) != fold(b[i])) {
                return false;
            }
        }
        return true;
    }
};
