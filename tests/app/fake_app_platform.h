// A machine and a window for the main window's logic: each answers from its fields, can be told
// to raise at one operation, and notes the operations asked of it, in order, in a shared journal.
#pragma once

#include "app/app_platform.h"
#include "app/main_dlg_ui.h"
#include "app/message_box.h"

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using Journal = std::vector<std::string>;

// Notes the operation, then raises when it is the one that is to fail (failAt starts it).
inline void NoteOperation(Journal& journal, const std::string& failAt, const std::string& entry) {
    journal.push_back(entry);
    if (!failAt.empty() && entry.rfind(failAt, 0) == 0) {
        throw std::runtime_error("failed: " + failAt);
    }
}

class FakeAppPlatform final : public IAppPlatform {
public:
    explicit FakeAppPlatform(Journal& journal) : journal_(journal) {}

    std::string ProgramPath() override { return programPath; }
    std::optional<std::string> FirstArgument() override {
        Note("FirstArgument");
        return firstArgument;
    }
    std::string UserDataFolder() override {
        Note("UserDataFolder");
        return dataFolder;
    }
    std::string ReadMakerRegistryValue(const std::string& name) override {
        Note("ReadMakerRegistryValue " + name);
        const auto value = registry.find(name);
        return value == registry.end() ? std::string() : value->second;
    }
    void StoreMakerRegistryValue(const std::string& name, const std::string& text) override {
        Note("StoreMakerRegistryValue " + name);
        registry[name] = text;
    }
    bool FileExistsNonEmpty(const std::string& path) override {
        Note("FileExistsNonEmpty " + path);
        const auto file = files.find(path);
        return file != files.end() && !file->second.empty();
    }
    std::string FileVersionText(const std::string& path) override {
        Note("FileVersionText " + path);
        return fileVersion;
    }
    std::optional<std::string> ReadSmallFile(const std::string& path,
                                             std::size_t maxBytes) override {
        Note("ReadSmallFile " + path);
        const auto file = files.find(path);
        if (file == files.end() || file->second.size() > maxBytes) {
            return std::nullopt;
        }
        return file->second;
    }
    std::string WindowsVersionText() override {
        Note("WindowsVersionText");
        return windowsVersion;
    }
    bool Is64BitWindows() override {
        Note("Is64BitWindows");
        return is64Bit;
    }
    bool RunsAsAdministrator() override {
        Note("RunsAsAdministrator");
        return administrator;
    }
    bool IsProgramInstalled(const std::string& prefix) override {
        Note("IsProgramInstalled " + prefix);
        return installed;
    }
    std::string CleanVirtualStore(const std::string& programFolder) override {
        Note("CleanVirtualStore " + programFolder);
        return virtualStore;
    }

    std::string programPath = "C:\\Program Files\\Tarvik\\Slotvane\\slotvane.exe";
    std::optional<std::string> firstArgument;
    std::string dataFolder;
    std::map<std::string, std::string> registry;
    std::map<std::string, std::string> files; // path to content
    std::string fileVersion = "2.4.1.3";
    std::string windowsVersion = "10.0 (Windows10)";
    bool is64Bit = true;
    bool administrator = false;
    bool installed = false;
    std::string virtualStore;
    // The start of the journal entry of the operation that raises.
    std::string failAt;

private:
    void Note(const std::string& entry) { NoteOperation(journal_, failAt, entry); }

    Journal& journal_;
};

class FakeMainDlgUi final : public IMainDlgUi {
public:
    explicit FakeMainDlgUi(Journal& journal) : journal_(journal) {}

    bool ShellOpen(const std::string& address) override {
        journal_.push_back("ShellOpen " + address);
        return true;
    }
    int AskQuestion(const std::string& text) override {
        journal_.push_back("AskQuestion " + text);
        return answer;
    }
    void ShowMessage(const std::string& text) override {
        journal_.push_back("ShowMessage " + text);
    }

    int answer = kResultNo;

private:
    Journal& journal_;
};
