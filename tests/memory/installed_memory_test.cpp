#include "memory/installed_memory.h"

#include "log/log.h"
#include "memory/module_scan.h"
#include "support/temp_folder.h"
#include "update/log_entries.h"
#include "util/os_error.h"
#include "wmi/fake_wmi_service.h"
#include "wmi/memory_fixtures.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

class FakeMemory final : public IMemoryStatusSource {
public:
    MemoryStatus QueryMemoryStatus() const override {
        if (fail) {
            throw OSError(8, "Not enough memory resources are available");
        }
        return {40, managedBytes, managedBytes / 2};
    }
    std::optional<std::uint64_t> InstalledMemoryKilobytes() const override { return installed; }

    std::optional<std::uint64_t> installed;
    std::uint64_t managedBytes = 0;
    bool fail = false;
};

const ModuleFixture kModule{"DIMM 1", "4294967296", "Kingston", "KHX1600C10D3/4G", 24, 1600, "A1"};

// The service's answer for a board with one array of two slots: no module class at all (a failed
// query), or the class with these modules.
MemorySnapshot Answer(std::optional<std::vector<ModuleFixture>> modules) {
    FakeAutomation service;
    service.Machine().classes["Win32_PhysicalMemoryArray"] = {ArrayInstance(33554432, 2)};
    if (modules) {
        auto& instances = service.Machine().classes["Win32_PhysicalMemory"];
        for (const ModuleFixture& module : *modules) {
            instances.push_back(ModuleInstance(module));
        }
    }
    return TakeMemorySnapshot(service);
}

// Virtual machines often report no module: the label then shows the memory the monitor shows
// (installed, or else managed), in whole gigabytes, with one line in the log. Module records keep
// their sum.
TEST(InstalledMemoryTest, WithoutModuleRecordsTheLabelShowsTheSystemsMemory) {
    struct Case {
        const char* name;
        std::optional<std::vector<ModuleFixture>> modules;
        std::optional<std::uint64_t> installedKb;
        std::uint64_t managedBytes;
        std::string label;
        bool logged;
    };
    const Case cases[] = {
        {"no module", std::vector<ModuleFixture>{}, 16777216, 17000000000, "当前内存: 16 GB", true},
        {"failed query", std::nullopt, 8388608, 8000000000, "当前内存: 8 GB", true},
        {"installed memory unknown", std::vector<ModuleFixture>{}, std::nullopt, 6979321856,
         "当前内存: 6 GB", true},
        {"less than a gigabyte", std::nullopt, 1048575, 0, "当前内存: 0 GB", true},
        {"two modules", std::vector<ModuleFixture>{kModule, kModule}, 16777216, 0, "当前内存: 8 GB",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        TKLog log(folder.File("Slotvane.log"), false, 10000);
        FakeMemory memory;
        memory.installed = c.installedKb;
        memory.managedBytes = c.managedBytes;
        const MemorySnapshot snapshot = Answer(c.modules);
        MemoryView state;
        ScanModules(state, snapshot, nullptr);
        MemoryView expected = state;

        ShowSystemMemoryWithoutModules(state, snapshot, memory, &log);

        expected.curmemLabel = c.label;
        EXPECT_EQ(state, expected);
        const std::vector<LogEntry> line = {{1, "没有内存模块记录, 使用系统总内存"}};
        EXPECT_EQ(LogEntries(log), c.logged ? line : std::vector<LogEntry>());
    }
}

TEST(InstalledMemoryTest, AMemoryStatusTheSystemCannotTellRaises) {
    FakeMemory memory;
    memory.fail = true;
    MemoryView state;
    EXPECT_THROW(ShowSystemMemoryWithoutModules(state, Answer(std::nullopt), memory, nullptr),
                 OSError);
}

} // namespace
