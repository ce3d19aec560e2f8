#include "memory/module_scan.h"

#include "log/log.h"
#include "memory/panel_description.h"
#include "support/temp_folder.h"
#include "wmi/fake_wmi_service.h"
#include "wmi/memory_fixtures.h"
#include "wmi/wmi_conversions.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

// GBK bytes, spelled out so that the test does not share the code's literals.
const std::string kSlotsPrefix = "\xB2\xE5\xB2\xDB\xCA\xFD\xC1\xBF: ";              // 插槽数量:
const std::string kMaxmemPrefix = "\xD7\xEE\xB4\xF3\xC4\xDA\xB4\xE6: ";             // 最大内存:
const std::string kCurmemPrefix = "\xB5\xB1\xC7\xB0\xC4\xDA\xB4\xE6: ";             // 当前内存:
const std::string kScanning = "\xD5\xFD\xD4\xDA\xC9\xA8\xC3\xE8\xB2\xE5\xB2\xDB #"; // 正在扫描插槽
const std::string kSlotName = "\xB2\xE5\xB2\xDB\xC3\xFB\xB3\xC6";                   // 插槽名称
const std::string kCapacity = "\xC8\xDD\xC1\xBF";                                   // 容量
const std::string kMaker = "\xD6\xC6\xD4\xEC\xC9\xCC";                              // 制造商
const std::string kModel = "\xD0\xCD\xBA\xC5";                                      // 型号
const std::string kType = "\xC0\xE0\xD0\xCD";                                       // 类型
const std::string kSpeed = "\xCB\xD9\xB6\xC8";                                      // 速度
const std::string kSerial = "\xD0\xF2\xC1\xD0\xBA\xC5";                             // 序列号
const std::string kRunning = "\xD4\xCB\xD0\xD0\xCB\xD9\xB6\xC8";                    // 运行速度
const std::string kRated = "\xB6\xEE\xB6\xA8";                                      // 额定
const std::vector<std::string> kColumns = {"\xB2\xCE\xCA\xFD", "\xD6\xB5"};         // 参数, 值

const ModuleFixture kSamsung{"DIMM 1", "8589934592", "CE00000000000000", "M378A1K43CB2-CRC",
                             26,       2400,         "12345678"};
const ModuleFixture kKingston{"DIMM 2", "4294967296", "Kingston", "KHX1600C10D3/4G",
                              24,       1600,         "A1B2C3D4"};
const ModuleFixture kHalf{"DIMM 3", "536870912", "Samsung", "M471B6474", 24, 1333, "0F0F"};
const ModuleFixture kPlaceholder{"DIMM 4", "4294967296", "Manufacturer00", "PartNum0",
                                 21,       800,          "SerNum0"};
const ModuleFixture kNoPart{"DIMM 5", "4294967296", "Kingston", "", 24, 1600, "55"};
const ModuleFixture kBlankPart{"DIMM 6", "4294967296", "Kingston", " \t\x1F ", 24, 1600, "66"};
// Windows reports no memory-type code for DDR5; only the firmware's type names it.
const ModuleFixture kDdr5{"DIMM A1", "17179869184", "80CE000080CE", "M323R2GA3BB0-CQKOD",
                          0,         4800,          "S5",           0x22};

struct Array {
    std::int32_t maxCapacityKb;
    std::int32_t memoryDevices;
};

// A machine as the service describes it; a failing query is a class the service does not have.
struct Machine {
    std::vector<Array> arrays;
    std::vector<ModuleFixture> modules;
    bool arraysFail = false;
    bool modulesFail = false;
};

void Build(FakeAutomation& automation, const Machine& machine) {
    auto& classes = automation.Machine().classes;
    if (!machine.arraysFail) {
        auto& arrays = classes["Win32_PhysicalMemoryArray"];
        for (const auto& array : machine.arrays) {
            arrays.push_back(ArrayInstance(array.maxCapacityKb, array.memoryDevices));
        }
    }
    if (!machine.modulesFail) {
        auto& modules = classes["Win32_PhysicalMemory"];
        for (const auto& module : machine.modules) {
            modules.push_back(ModuleInstance(module));
        }
    }
}

class ModuleScanTest : public ::testing::Test {
protected:
    TempFolder folder;
    TKLog log{folder.File("Slotvane.log"), false, 10000};
    FakeAutomation automation;
    MemoryView state;

    void Scan(const Machine& machine) {
        Build(automation, machine);
        ScanModules(state, automation, &log);
    }

    // The texts of the log, oldest first, without level word and time stamp.
    std::vector<std::string> Logged() const {
        std::vector<std::string> texts;
        for (auto line = log.Lines().rbegin(); line != log.Lines().rend(); ++line) {
            texts.push_back(line->substr(line->find('\t', line->find('\t') + 1) + 1));
        }
        return texts;
    }
};

std::vector<std::string> ModuleLog(int k, const std::vector<ListRow>& rowsWithLoggedValues,
                                   const ModuleFixture& module) {
    const std::string p = std::to_string(k) + "\t";
    const auto& r = rowsWithLoggedValues;
    return {
        kScanning + std::to_string(k),
        p + kSlotName + "\t" + r[0].value,
        p + kCapacity + "\t" + r[1].value,
        p + kMaker + "\t" + r[2].value,
        p + kModel + "\t" + r[3].value,
        p + kType + "\t" + std::to_string(module.memoryType),
        p + kSpeed + "\t" + std::to_string(module.speed),
        p + kType + "\t" + r[4].value,
        p + kSerial + "\t" + r[5].value,
    };
}

TEST_F(ModuleScanTest, TwoSlotsWithOneModuleGiveTheWholeWindowState) {
    Scan({{{16777216, 2}}, {kSamsung}});

    MemoryView expected;
    expected.narrowed = true;
    expected.slotsLabel = kSlotsPrefix + "2";
    expected.maxmemLabel = kMaxmemPrefix + "16 GB";
    expected.curmemLabel = kCurmemPrefix + "8 GB";
    expected.maxmemVisible = true;
    expected.slots[0] = {true,
                         true,
                         kColumns,
                         {{kSlotName, "DIMM 1"},
                          {kCapacity, "8 GB"},
                          {kMaker, "Samsung"},
                          {kModel, "M378A1K43CB2-CRC"},
                          {kType, "DDR4 / PC4-19200"},
                          {kSerial, "12345678"}},
                         false,
                         true,
                         true};
    expected.slots[1] = {true, false, {}, {}, true, false, false};
    expected.slots[2] = {false, false, {}, {}, false, false, false};
    expected.slots[3] = {false, false, {}, {}, false, false, false};
    expected.modules = {{kColumns, expected.slots[0].rows}};
    expected.boardSlots = 2;
    EXPECT_EQ(state, expected); // no pager, panels captioned as designed
}

TEST(ModuleScanMachinesTest, MachinesGiveTheirPanelsLabelsAndWidth) {
    struct Case {
        const char* name;
        Machine machine;
        bool narrowed;
        std::string slots;
        std::string maxmem;
        bool maxmemVisible;
        std::string curmem;
        std::array<std::string, kSlotPanelCount> panels;
    };
    const Case cases[] = {
        {"four slots, two modules",
         {{{33554432, 4}}, {kSamsung, kKingston}},
         false,
         "4",
         "32 GB",
         true,
         "12 GB",
         {"on list spec", "on list spec", "on empty", "on empty"}},
        {"five modules: the first page shows four",
         {{{67108864, 4}}, {kSamsung, kKingston, kSamsung, kKingston, kSamsung}},
         false,
         "4",
         "64 GB",
         true,
         "32 GB",
         {"on list spec", "on list spec", "on list spec", "on list spec"}},
        {"two modules of 512 MB",
         {{{4194304, 2}}, {kHalf, kHalf}},
         true,
         "2",
         "4 GB",
         true,
         "1 GB",
         {"on list spec", "on list spec", "off", "off"}},
        {"more installed than the maximum",
         {{{2097152, 2}}, {kKingston}},
         true,
         "2",
         "2 GB",
         false,
         "4 GB",
         {"on list spec", "on empty", "off", "off"}},
        {"two arrays, four slots last; maxima are whole gigabytes each",
         {{{1572864, 2}, {4194304, 4}}, {kKingston}},
         false,
         "6",
         "5 GB",
         true,
         "4 GB",
         {"on list spec", "on empty", "on empty", "on empty"}},
        {"two arrays, two slots last",
         {{{4194304, 4}, {1572864, 2}}, {kKingston}},
         true,
         "6",
         "5 GB",
         true,
         "4 GB",
         {"on list spec", "on empty", "off", "off"}},
        {"more modules than slots",
         {{{8388608, 2}}, {kSamsung, kKingston, kSamsung, kKingston}},
         true,
         "2",
         "8 GB",
         false,
         "24 GB",
         {"on list spec", "on list spec", "off list spec", "off list spec"}},
        {"placeholder vendor, empty and blank part numbers",
         {{{16777216, 4}}, {kPlaceholder, kNoPart, kBlankPart}},
         false,
         "4",
         "16 GB",
         true,
         "12 GB",
         {"on list spec", "on list spec(disabled)", "on list spec(disabled)", "on empty"}},
        {"failed array query",
         {{}, {kSamsung}, true, false},
         true,
         "0",
         "0 GB",
         false,
         "8 GB",
         {"off list spec", "off", "off", "off"}},
        {"failed module query",
         {{{16777216, 4}}, {}, false, true},
         false,
         "4",
         "16 GB",
         true,
         "0 GB",
         {"on empty", "on empty", "on empty", "on empty"}},
        {"both queries failed",
         {{}, {}, true, true},
         true,
         "0",
         "0 GB",
         true,
         "0 GB",
         {"off", "off", "off", "off"}},
        {"a DDR5 board with two slots",
         {{{67108864, 2}}, {kDdr5, kDdr5}},
         true,
         "2",
         "64 GB",
         true,
         "32 GB",
         {"on list spec", "on list spec", "off", "off"}},
        {"a board that reports no array and no module",
         {{}, {}},
         true,
         "0",
         "0 GB",
         true,
         "0 GB",
         {"off", "off", "off", "off"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeAutomation service;
        Build(service, c.machine);
        MemoryView state;
        EXPECT_EQ(ScanModules(state, service, nullptr), !c.machine.modulesFail);

        EXPECT_EQ(state.narrowed, c.narrowed);
        EXPECT_EQ(state.slotsLabel, kSlotsPrefix + c.slots);
        EXPECT_EQ(state.maxmemLabel, kMaxmemPrefix + c.maxmem);
        EXPECT_EQ(state.maxmemVisible, c.maxmemVisible);
        EXPECT_EQ(state.curmemLabel, kCurmemPrefix + c.curmem);
        for (int n = 0; n < kSlotPanelCount; ++n) {
            EXPECT_EQ(Describe(state.slots[n]), c.panels[n]) << "panel " << n + 1;
        }
    }
}

TEST_F(ModuleScanTest, RowsShowDecodedValuesAndTheLogTheModulesOwn) {
    Scan({{{16777216, 4}}, {kSamsung, kPlaceholder}});

    const std::vector<ListRow> shown1 = {
        {kSlotName, "DIMM 4"}, {kCapacity, "4 GB"},        {kMaker, "N/A"},
        {kModel, "N/A"},       {kType, "DDR2 / PC2-6400"}, {kSerial, "N/A"},
    };
    EXPECT_EQ(state.slots[1].rows, shown1);
    EXPECT_EQ(state.slots[1].columnCaptions, kColumns);

    std::vector<std::string> expected = ModuleLog(0,
                                                  {{kSlotName, "DIMM 1"},
                                                   {kCapacity, "8 GB"},
                                                   {kMaker, "Samsung (CE00000000000000)"},
                                                   {kModel, "M378A1K43CB2-CRC"},
                                                   {kType, "DDR4 / PC4-19200"},
                                                   {kSerial, "12345678"}},
                                                  kSamsung);
    const std::vector<std::string> logged1 = ModuleLog(1,
                                                       {{kSlotName, "DIMM 4"},
                                                        {kCapacity, "4 GB"},
                                                        {kMaker, "N/A (Manufacturer00)"},
                                                        {kModel, "PartNum0"},
                                                        {kType, "DDR2 / PC2-6400"},
                                                        {kSerial, "SerNum0"}},
                                                       kPlaceholder);
    expected.insert(expected.end(), logged1.begin(), logged1.end());
    EXPECT_EQ(Logged(), expected);
    EXPECT_EQ(Logged()[0], kScanning + "0");
    EXPECT_EQ(Logged()[1], "0\t" + kSlotName + "\tDIMM 1");
}

TEST_F(ModuleScanTest, TheFirmwaresTypeNamesAModuleThatWindowsCannotAndTheLogFollows) {
    Scan({{{67108864, 2}}, {kDdr5}});

    const std::vector<ListRow> shown = {
        {kSlotName, "DIMM A1"},         {kCapacity, "16 GB"},        {kMaker, "Samsung"},
        {kModel, "M323R2GA3BB0-CQKOD"}, {kType, "DDR5 / PC5-38400"}, {kSerial, "S5"},
    };
    EXPECT_EQ(state.slots[0].rows, shown);
    EXPECT_EQ(Logged(), ModuleLog(0,
                                  {{kSlotName, "DIMM A1"},
                                   {kCapacity, "16 GB"},
                                   {kMaker, "Samsung (80CE000080CE)"},
                                   {kModel, "M323R2GA3BB0-CQKOD"},
                                   {kType, "DDR5 / PC5-38400"},
                                   {kSerial, "S5"}},
                                  kDdr5));
}

TEST_F(ModuleScanTest, WithoutTheFirmwaresTypeTheSpeedGuessStands) {
    ModuleFixture olderSystem = kDdr5;
    olderSystem.smbiosMemoryType.reset();
    Scan({{{67108864, 2}}, {olderSystem}});
    EXPECT_EQ(state.slots[0].rows.at(4), (ListRow{kType, "DDR4 / PC4-38400"}));
}

TEST_F(ModuleScanTest, EveryModuleIsLoggedAndListedInTheServicesOrder) {
    Scan({{{67108864, 4}}, {kSamsung, kKingston, kSamsung, kKingston, kHalf, kNoPart}});

    const auto logged = Logged();
    ASSERT_EQ(logged.size(), 6u * 9u);
    EXPECT_EQ(logged[4 * 9], kScanning + "4");
    EXPECT_EQ(logged[4 * 9 + 1], "4\t" + kSlotName + "\tDIMM 3");
    EXPECT_EQ(logged.back(), "5\t" + kSerial + "\t55");

    ASSERT_EQ(state.modules.size(), 6u);
    EXPECT_EQ(state.modules[4].rows[0], (ListRow{kSlotName, "DIMM 3"}));
    EXPECT_EQ(state.modules[4].columnCaptions, kColumns);
    for (int k = 0; k < kSlotPanelCount; ++k) {
        EXPECT_EQ(state.slots[k].rows, state.modules[k].rows) << "panel " << k + 1;
    }
    EXPECT_EQ(state.pageCount, 2);
    EXPECT_EQ(state.page, 0);
    // Every module's capacity counts: 8 + 4 + 8 + 4 + 0.5 + 4 GB.
    EXPECT_EQ(state.curmemLabel, kCurmemPrefix + "28 GB");
}

TEST(ModuleScanRunningSpeedTest, ASeventhRowWhenTheServiceGivesTheSpeedItRunsAt) {
    struct Case {
        const char* name;
        std::optional<std::int32_t> configured;
        std::int32_t speed;
        std::string shown; // empty: no seventh row
    };
    const Case cases[] = {
        {"absent, as on older Windows", std::nullopt, 3200, ""},
        {"zero", 0, 3200, ""},
        {"below the rated speed", 2133, 3200, "2133 MT/s (" + kRated + " 3200 MT/s)"},
        {"above the rated speed", 4267, 2667, "4267 MT/s (" + kRated + " 2667 MT/s)"},
        {"the rated speed", 3200, 3200, "3200 MT/s"},
        {"no rated speed", 1600, 0, "1600 MT/s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModuleFixture module = kSamsung;
        module.memoryType = 26;
        module.speed = c.speed;
        module.configuredClockSpeed = c.configured;
        FakeAutomation service;
        Build(service, {{{16777216, 2}}, {module}});
        TempFolder folder;
        TKLog log{folder.File("Slotvane.log"), false, 10000};
        MemoryView state;
        ScanModules(state, service, &log);

        const auto& rows = state.slots[0].rows;
        std::vector<std::string> logged;
        for (auto line = log.Lines().rbegin(); line != log.Lines().rend(); ++line) {
            logged.push_back(line->substr(line->find('\t', line->find('\t') + 1) + 1));
        }
        if (c.shown.empty()) {
            EXPECT_EQ(rows.size(), 6u);
            EXPECT_EQ(logged.size(), 9u);
            continue;
        }
        ASSERT_EQ(rows.size(), 7u);
        EXPECT_EQ(rows[5].caption, kSerial);
        EXPECT_EQ(rows[6], (ListRow{kRunning, c.shown}));
        // The search still reads the part number of row 3.
        EXPECT_TRUE(state.slots[0].specButtonEnabled);
        // Logged right after the three type lines, before the serial number.
        ASSERT_EQ(logged.size(), 10u);
        EXPECT_EQ(logged[7], "0\t" + kType + "\t" + rows[4].value);
        EXPECT_EQ(logged[8], "0\t" + kRunning + "\t" + c.shown);
        EXPECT_EQ(logged[9], "0\t" + kSerial + "\t12345678");
    }
}

TEST_F(ModuleScanTest, AValueThatCannotBeConvertedEndsTheScanWhereItIs) {
    ModuleFixture broken = kKingston;
    broken.capacity = "4 GB";
    Build(automation, {{{16777216, 4}}, {kSamsung, broken}});

    EXPECT_THROW(ScanModules(state, automation, &log), ConversionError);

    EXPECT_EQ(state.slotsLabel, kSlotsPrefix + "4");
    EXPECT_EQ(state.slots[0].rows.size(), 6u);
    EXPECT_EQ(state.slots[1], SlotPanelState());
    EXPECT_EQ(state.curmemLabel, MemoryView().curmemLabel);
    EXPECT_EQ(Logged().size(), 9u);
}

TEST_F(ModuleScanTest, AnArrayQueryThatFailsAfterItsSlotCountDisablesEveryPanel) {
    Build(automation, {{{16777216, 4}}, {kSamsung}});
    // MemoryDevices converts, a later property does not: the load fails on its first selection.
    automation.Machine().classes["Win32_PhysicalMemoryArray"][0].push_back(
        {"Use", TVariant::Text("not a number")});

    ScanModules(state, automation, &log);

    EXPECT_EQ(state.slotsLabel, kSlotsPrefix + "0");
    EXPECT_TRUE(state.narrowed);
    for (const SlotPanelState& panel : state.slots) {
        EXPECT_FALSE(panel.enabled);
    }
}

TEST_F(ModuleScanTest, ANarrowedWindowIsNotWidenedAgain) {
    state.narrowed = true;
    Scan({{{16777216, 4}}, {kSamsung}});
    EXPECT_TRUE(state.narrowed);
}

TEST(ModuleTypeTextTest, RatingForDdrGenerationsSpeedOtherwise) {
    struct Case {
        std::uint16_t type;
        std::uint32_t speed;
        std::string text;
    };
    const Case cases[] = {
        {24, 1600, "DDR3 / PC3-12800"},
        {26, 2133, "DDR4 / PC4-17064"},
        {21, 800, "DDR2 / PC2-6400"},
        {20, 200, "DDR / PC-1600"},
        {0, 1600, "DDR3/4 @ 1600MHz"},
        {17, 133, "SDRAM @ 133MHz"},
        {22, 667, "DDR2 FB-DIMM @ 667MHz"},
        {24, 0, "DDR3"},
        {0, 0, "Unknown"},
        {24, 0x20000001, "DDR3 / PC3-8"}, // the product wraps at 32 bits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModuleTypeText(c.type, c.speed), c.text) << c.type << " " << c.speed;
    }
}

TEST(ModuleTypeTextTest, TheFirmwaresTypeReplacesOnlyACodeThatSaysNothing) {
    struct Case {
        std::uint16_t type;
        std::uint32_t smbiosType;
        std::uint32_t speed;
        std::string text;
    };
    const Case cases[] = {
        {0, 0x22, 4800, "DDR5 / PC5-38400"},
        {0, 0x23, 6400, "LPDDR5 @ 6400MHz"},
        {0, 0x1A, 3200, "DDR4 / PC4-25600"},
        {0, 0, 2400, "DDR4 / PC4-19200"},     // absent: the guess from the speed
        {24, 0x22, 1600, "DDR3 / PC3-12800"}, // a known code is never replaced
        {1, 0x22, 5600, "DDR5 / PC5-44800"},
        {2, 0x22, 5600, "DDR5 / PC5-44800"},
        {2, 0, 5600, "DRAM @ 5600MHz"},
        {3, 0x22, 5600, "Synchronous DRAM @ 5600MHz"},
        {23, 0x22, 2400, "DDR4 / PC4-19200"}, // only 0, 1 and 2 give way
        {0, 0x22, 0, "DDR5"},
        {0, 0x12, 200, "DDR / PC-1600"},
        {0, 0x18, 1600, "DDR3 / PC3-12800"},
        {0, 0x1E, 4266, "LPDDR4 @ 4266MHz"},
        {0, 0x24, 6400, "HBM3 @ 6400MHz"},
        {0, 0x20, 1000, "HBM @ 1000MHz"},
        {0, 0x02, 1600, "DDR3/4 @ 1600MHz"}, // "Unknown" in the firmware: the guess stands
        {0, 0x15, 1600, "DDR3/4 @ 1600MHz"}, // reserved
        {0, 0x1F, 1600, "DDR3/4 @ 1600MHz"}, // not a memory module
        {0, 0x25, 1600, "DDR3/4 @ 1600MHz"},
        {0, 0x122, 4800, "DDR4 / PC4-38400"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModuleTypeText(c.type, c.speed, c.smbiosType), c.text)
            << c.type << " " << c.smbiosType << " " << c.speed;
    }
}

} // namespace
