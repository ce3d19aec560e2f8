// The scan's table of real machines: 46 computers' memory records, kept beside the repository
// (../shared/machines), each scanned as the window shows it, logs it and exports it.
#include "log/log.h"
#include "memory/module_pages.h"
#include "memory/module_scan.h"
#include "memory/panel_description.h"
#include "memory/report_export.h"
#include "memory/report_json.h"
#include "support/temp_folder.h"
#include "util/utf8_text.h"
#include "wmi/win32_physical_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Utf8(std::u8string_view text) {
    return std::string(text.begin(), text.end());
}

struct Machine {
    const char* file; // without ".json"
    int modules;
    int pages;       // 0: no pager
    int slots;       // "插槽数量: "
    int maxGB;       // "最大内存: "
    int installedGB; // "当前内存: "
    bool narrowed;
    bool maxmemShown;
    int runningRows;           // modules with the seventh row
    std::u8string_view makers; // each maker shown once, in the order of the modules
    const char* firstPage;     // the panels as Describe gives them, " | " between
    const char* lastPage;
};

// Figures worked out from the records by the rules of the scan.
const Machine kMachines[] = {
    {"037EF18A5759", 2, 0, 2, 4, 4, true, true, 0, u8"N/A",
     "on list spec | on list spec | off | off", "on list spec | on list spec | off | off"},
    {"10A191CF5774", 8, 2, 16, 2048, 256, false, true, 8, u8"HP",
     "on list spec | on list spec | on list spec | on list spec",
     "on list spec | on list spec | on list spec | on list spec"},
    {"187EF362FFF4", 2, 0, 4, 32, 8, false, true, 2, u8"Samsung; Hynix (Hyundai)",
     "on list spec(disabled) | on list spec(disabled) | on empty | on empty",
     "on list spec(disabled) | on list spec(disabled) | on empty | on empty"},
    {"2787D004AAF5", 1, 0, 2, 128, 8, true, true, 1, u8"Hynix (Hyundai)",
     "on list spec | on empty | off | off", "on list spec | on empty | off | off"},
    {"2BE6575A3ED1", 8, 2, 8, 128, 16, false, true, 8, u8"Hynix (Hyundai)",
     "on list spec(disabled) | on list spec(disabled) | on list spec(disabled) | on list "
     "spec(disabled)",
     "on list spec(disabled) | on list spec(disabled) | on list spec(disabled) | on list "
     "spec(disabled)"},
    {"2CE4A5723AA7", 2, 0, 4, 128, 32, false, true, 2, u8"Unknown",
     "on list spec | on list spec | on empty | on empty",
     "on list spec | on list spec | on empty | on empty"},
    {"2ED6B1F6EDA1", 4, 0, 0, 0, 4, true, false, 4, u8"Unknown (0)",
     "off list spec | off list spec | off list spec | off list spec",
     "off list spec | off list spec | off list spec | off list spec"},
    {"30A7086E7D5F", 1, 0, 2, 64, 32, true, true, 1, u8"Ramaxel Technology",
     "on list spec | on empty | off | off", "on list spec | on empty | off | off"},
    {"34E34F4090B6", 4, 0, 4, 128, 32, false, true, 4, u8"Unknown",
     "on list spec | on list spec | on list spec | on list spec",
     "on list spec | on list spec | on list spec | on list spec"},
    {"3859713F1E47", 16, 4, 16, 64, 64, false, true, 0, u8"Toshiba",
     "on list spec | on list spec | on list spec | on list spec",
     "on list spec | on list spec | on list spec | on list spec"},
    {"3B3B373C11E1", 2, 0, 2, 16, 8, true, true, 2, u8"Hynix (Hyundai); Samsung",
     "on list spec | on list spec | off | off", "on list spec | on list spec | off | off"},
    {"4033B8E02395", 0, 0, 4, 4, 0, false, true, 0, u8"",
     "on empty | on empty | on empty | on empty", "on empty | on empty | on empty | on empty"},
    {"437FB6F78AAC", 2, 0, 2, 4, 4, true, true, 2, u8"Micron",
     "on list spec | on list spec | off | off", "on list spec | on list spec | off | off"},
    {"44AC4C1202C4", 2, 0, 2, 32, 16, true, true, 2, u8"Hynix (Hyundai)",
     "on list spec | on list spec | off | off", "on list spec | on list spec | off | off"},
    {"4E9199766329", 5, 2, 5, 4, 2, true, true, 0, u8"Infineon (Siemens); Ramaxel Technology; ",
     "on list spec | off list spec | off list spec | off list spec",
     "off list spec(disabled) | off | off | off"},
    {"58CE2BB4998C", 0, 0, 2, 64, 0, true, true, 0, u8"", "on empty | on empty | off | off",
     "on empty | on empty | off | off"},
    {"5BB30550A6BE", 8, 2, 16, 1024, 64, false, true, 8, u8"<BAD INDEX>",
     "on list spec | on list spec | on list spec | on list spec",
     "off list spec | off list spec | off list spec | off list spec"},
    {"60D1FC014616", 32, 8, 32, 4096, 4096, false, true, 32, u8"Hynix (Hyundai)",
     "on list spec | on list spec | on list spec | on list spec",
     "off list spec | off list spec | off list spec | off list spec"},
    {"61D1BE31C0C6", 2, 0, 2, 2, 2, true, true, 0, u8"Samsung",
     "on list spec | on list spec | off | off", "on list spec | on list spec | off | off"},
    {"62E76CCFE6D3", 8, 2, 8, 128, 32, false, true, 0, u8"Hynix (Hyundai)",
     "on list spec | on list spec | on list spec | on list spec",
     "on list spec | on list spec | on list spec | on list spec"},
    {"669DB392F5D2", 4, 0, 4, 32, 32, false, true, 4, u8"Kingston",
     "on list spec | on list spec | on list spec | on list spec",
     "on list spec | on list spec | on list spec | on list spec"},
    {"6FCE9BB5B6B6", 2, 0, 4, 32, 8, false, true, 2, u8"Kingston",
     "on list spec | on list spec | on empty | on empty",
     "on list spec | on list spec | on empty | on empty"},
    {"72599BD3AA6E", 2, 0, 4, 128, 32, false, true, 2, u8"Kingston",
     "on list spec | on list spec | on empty | on empty",
     "on list spec | on list spec | on empty | on empty"},
    {"73F010522761", 1, 0, 2, 16, 8, true, true, 1, u8"0080", "on list spec | on empty | off | off",
     "on list spec | on empty | off | off"},
    {"7783A4EC4CF9", 2, 0, 2, 128, 16, true, true, 2, u8"Unknown",
     "on list spec | on list spec | off | off", "on list spec | on list spec | off | off"},
    {"7A1D7F70EC53", 2, 0, 4, 128, 64, false, true, 2, u8"Corsair",
     "on list spec | on list spec | on empty | on empty",
     "on list spec | on list spec | on empty | on empty"},
    {"80B5F89B07A7", 2, 0, 2, 16, 12, true, true, 2, u8"Hynix (Hyundai)",
     "on list spec | on list spec | off | off", "on list spec | on list spec | off | off"},
    {"88B194A2D4A4", 8, 2, 2, 16, 8, true, true, 8, u8"ChangXin Memory Technologies Inc",
     "on list spec | on list spec | off list spec | off list spec",
     "off list spec | off list spec | off list spec | off list spec"},
    {"984562CCAD3D", 1, 0, 2, 32, 2, true, true, 1, u8"", "on list spec | on empty | off | off",
     "on list spec | on empty | off | off"},
    {"9A9C018BFE30", 2, 0, 4, 32, 16, false, true, 2, u8"Symagery Microsystems",
     "on list spec | on list spec | on empty | on empty",
     "on list spec | on list spec | on empty | on empty"},
    {"AD5C3B5850EE", 2, 0, 2, 8, 16, true, false, 1, u8"A1_Manufacturer0; A1_Manufacturer1",
     "on list spec | on list spec | off | off", "on list spec | on list spec | off | off"},
    {"AF62E86924DF", 4, 0, 18, 192, 32, false, true, 0, u8"Hynix (Hyundai)",
     "on list spec | on list spec | on list spec | on list spec",
     "on list spec | on list spec | on list spec | on list spec"},
    {"B45F0282B274", 2, 0, 5, 16, 4, true, true, 0, u8"Kingmax Semiconductor; ",
     "on list spec | off list spec(disabled) | off | off",
     "on list spec | off list spec(disabled) | off | off"},
    {"B849F9AC9470", 4, 0, 2, 16, 4, true, true, 4, u8"0000",
     "on list spec | on list spec | off list spec | off list spec",
     "on list spec | on list spec | off list spec | off list spec"},
    {"BF4810EE964A", 2, 0, 4, 64, 16, false, true, 2, u8"Micron; Samsung",
     "on list spec | on list spec | on empty | on empty",
     "on list spec | on list spec | on empty | on empty"},
    {"C063430C5598", 2, 0, 2, 64, 64, true, true, 2, u8"Unknown - [0x9B85]",
     "on list spec | on list spec | off | off", "on list spec | on list spec | off | off"},
    {"CF540CEDC565", 1, 0, 2, 16, 4, true, true, 1, u8"Hynix (Hyundai)",
     "on list spec | on empty | off | off", "on list spec | on empty | off | off"},
    {"D0926CBC3350", 8, 2, 2, 128, 8, true, true, 8, u8"Micron",
     "on list spec | on list spec | off list spec | off list spec",
     "off list spec | off list spec | off list spec | off list spec"},
    {"DCAC996EE795", 2, 0, 2, 32, 32, true, true, 2, u8"A-DATA Technology",
     "on list spec(disabled) | on list spec(disabled) | off | off",
     "on list spec(disabled) | on list spec(disabled) | off | off"},
    {"DCF714B5CE65", 1, 0, 2, 4, 4, true, true, 1, u8"Hynix (Hyundai)",
     "on list spec | on empty | off | off", "on list spec | on empty | off | off"},
    {"EE11D231DFCA", 2, 0, 0, 0, 16, true, false, 2, u8"Unknown (0)",
     "off list spec | off list spec | off | off", "off list spec | off list spec | off | off"},
    {"F099A25A4347", 2, 0, 2, 0, 8, true, false, 0, u8"",
     "on list spec(disabled) | on list spec(disabled) | off | off",
     "on list spec(disabled) | on list spec(disabled) | off | off"},
    {"F29F2DC1FDEB", 8, 2, 8, 16, 16, false, true, 8, u8"Samsung",
     "on list spec | on list spec | on list spec | on list spec",
     "on list spec | on list spec | on list spec | on list spec"},
    {"F57B47906077", 1, 0, 2, 8, 2, true, true, 0, u8"0000000000FE7F7F",
     "on list spec | on empty | off | off", "on list spec | on empty | off | off"},
    {"F869558DFB20", 1, 0, 0, 0, 4, true, false, 1, u8"Samsung", "off list spec | off | off | off",
     "off list spec | off | off | off"},
    {"FFF262E59711", 4, 0, 7, 24, 6, true, true, 0, u8"Samsung; ",
     "on list spec | off list spec | off list spec | off list spec(disabled)",
     "on list spec | off list spec | off list spec | off list spec(disabled)"},
};

// The machines with at most four modules and no speed they run at: the export as defined, byte
// for byte (shown in UTF-8).
const std::map<std::string, std::u8string_view> kDefinedExports = {
    {"037EF18A5759", u8"[BANK 1]\r\n"
                     u8"插槽名称\tDIMM0\r\n"
                     u8"容量\t2 GB\r\n"
                     u8"制造商\tN/A\r\n"
                     u8"型号\tN/A\r\n"
                     u8"类型\tDDR2 / PC2-6400\r\n"
                     u8"序列号\tN/A\r\n"
                     u8"\r\n"
                     u8"[BANK 2]\r\n"
                     u8"插槽名称\tDIMM1\r\n"
                     u8"容量\t2 GB\r\n"
                     u8"制造商\tN/A\r\n"
                     u8"型号\tN/A\r\n"
                     u8"类型\tDDR2 / PC2-6400\r\n"
                     u8"序列号\tN/A\r\n"},
    {"4033B8E02395", u8""},
    {"58CE2BB4998C", u8""},
    {"61D1BE31C0C6", u8"[BANK 1]\r\n"
                     u8"插槽名称\tDIMM0\r\n"
                     u8"容量\t1 GB\r\n"
                     u8"制造商\tSamsung\r\n"
                     u8"型号\t0x4D342037305432393533455A332D43453620\r\n"
                     u8"类型\tDDR2 / PC2-5336\r\n"
                     u8"序列号\t--\r\n"
                     u8"\r\n"
                     u8"[BANK 2]\r\n"
                     u8"插槽名称\tDIMM2\r\n"
                     u8"容量\t1 GB\r\n"
                     u8"制造商\tSamsung\r\n"
                     u8"型号\t0x4D342037305432393533455A332D43453620\r\n"
                     u8"类型\tDDR2 / PC2-5336\r\n"
                     u8"序列号\t--\r\n"},
    {"AF62E86924DF", u8"[BANK 1]\r\n"
                     u8"插槽名称\tDIMM_A1\r\n"
                     u8"容量\t8 GB\r\n"
                     u8"制造商\tHynix (Hyundai)\r\n"
                     u8"型号\tHMT31GR7BFR4C-H9\r\n"
                     u8"类型\tDDR3 / PC3-10664\r\n"
                     u8"序列号\t--\r\n"
                     u8"\r\n"
                     u8"[BANK 2]\r\n"
                     u8"插槽名称\tDIMM_A2\r\n"
                     u8"容量\t8 GB\r\n"
                     u8"制造商\tHynix (Hyundai)\r\n"
                     u8"型号\tHMT31GR7BFR4C-H9\r\n"
                     u8"类型\tDDR3 / PC3-10664\r\n"
                     u8"序列号\t--\r\n"
                     u8"\r\n"
                     u8"[BANK 3]\r\n"
                     u8"插槽名称\tDIMM_B1\r\n"
                     u8"容量\t8 GB\r\n"
                     u8"制造商\tHynix (Hyundai)\r\n"
                     u8"型号\tHMT31GR7BFR4C-H9\r\n"
                     u8"类型\tDDR3 / PC3-10664\r\n"
                     u8"序列号\t--\r\n"
                     u8"\r\n"
                     u8"[BANK 4]\r\n"
                     u8"插槽名称\tDIMM_B2\r\n"
                     u8"容量\t8 GB\r\n"
                     u8"制造商\tHynix (Hyundai)\r\n"
                     u8"型号\tHMT31GR7BFR4C-H9\r\n"
                     u8"类型\tDDR3 / PC3-10664\r\n"
                     u8"序列号\t--\r\n"},
    {"B45F0282B274", u8"[BANK 1]\r\n"
                     u8"插槽名称\tXMM1\r\n"
                     u8"容量\t4 GB\r\n"
                     u8"制造商\tKingmax Semiconductor\r\n"
                     u8"型号\tFLGF65F-C8KL9A\r\n"
                     u8"类型\tDDR3 / PC3-10664\r\n"
                     u8"序列号\t--\r\n"
                     u8"\r\n"
                     u8"[BANK 2]\r\n"
                     u8"插槽名称\tSYSTEM ROM\r\n"
                     u8"容量\t0 GB\r\n"
                     u8"制造商\t\r\n"
                     u8"型号\t\r\n"
                     u8"类型\tROM\r\n"
                     u8"序列号\t--\r\n"},
    {"F099A25A4347", u8"[BANK 1]\r\n"
                     u8"插槽名称\tSODIMM1\r\n"
                     u8"容量\t4 GB\r\n"
                     u8"制造商\t\r\n"
                     u8"型号\t\r\n"
                     u8"类型\tDDR3\r\n"
                     u8"序列号\t\r\n"
                     u8"\r\n"
                     u8"[BANK 2]\r\n"
                     u8"插槽名称\tSODIMM2\r\n"
                     u8"容量\t4 GB\r\n"
                     u8"制造商\t\r\n"
                     u8"型号\t\r\n"
                     u8"类型\tDDR3\r\n"
                     u8"序列号\t\r\n"},
    {"F57B47906077", u8"[BANK 1]\r\n"
                     u8"插槽名称\tSODIMM 0\r\n"
                     u8"容量\t2 GB\r\n"
                     u8"制造商\t0000000000FE7F7F\r\n"
                     u8"型号\tEBE21UE8ACUA-8G-E\r\n"
                     u8"类型\tDDR2 / PC2-6400\r\n"
                     u8"序列号\t--\r\n"},
    {"FFF262E59711", u8"[BANK 1]\r\n"
                     u8"插槽名称\tCPU0 DIMM1\r\n"
                     u8"容量\t2 GB\r\n"
                     u8"制造商\tSamsung\r\n"
                     u8"型号\tM391B5673FH0-CH9\r\n"
                     u8"类型\tDDR3 / PC3-10664\r\n"
                     u8"序列号\t--\r\n"
                     u8"\r\n"
                     u8"[BANK 2]\r\n"
                     u8"插槽名称\tCPU0 DIMM3\r\n"
                     u8"容量\t2 GB\r\n"
                     u8"制造商\tSamsung\r\n"
                     u8"型号\tM391B5673FH0-CH9\r\n"
                     u8"类型\tDDR3 / PC3-10664\r\n"
                     u8"序列号\t--\r\n"
                     u8"\r\n"
                     u8"[BANK 3]\r\n"
                     u8"插槽名称\tCPU0 DIMM5\r\n"
                     u8"容量\t2 GB\r\n"
                     u8"制造商\tSamsung\r\n"
                     u8"型号\tM391B5673FH0-CH9\r\n"
                     u8"类型\tDDR3 / PC3-10664\r\n"
                     u8"序列号\t--\r\n"
                     u8"\r\n"
                     u8"[BANK 4]\r\n"
                     u8"插槽名称\tSYSTEM ROM\r\n"
                     u8"容量\t0 GB\r\n"
                     u8"制造商\t\r\n"
                     u8"型号\t\r\n"
                     u8"类型\tROM\r\n"
                     u8"序列号\t--\r\n"},
};

std::string Joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        text += (i > 0 ? separator : "") + parts[i];
    }
    return text;
}

std::string PageOf(const MemoryView& view) {
    std::vector<std::string> panels;
    for (const SlotPanelState& panel : view.slots) {
        panels.push_back(Describe(panel));
    }
    return Joined(panels, " | ");
}

// The log the scan must write: every module with the lines of its rows, the module's own values
// where the window shows "N/A", and the seventh row's line after the type lines.
std::vector<std::string> ExpectedLog(const MemoryView& view, const MemorySnapshot& snapshot) {
    TWin32_PhysicalMemory module(snapshot.modules);
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < view.modules.size(); ++k) {
        module.SetCollectionIndex(static_cast<std::int32_t>(k));
        const std::vector<ListRow>& rows = view.modules[k].rows;
        const std::string p = std::to_string(k) + "\t";
        lines.push_back("\xD5\xFD\xD4\xDA\xC9\xA8\xC3\xE8\xB2\xE5\xB2\xDB #" + std::to_string(k));
        lines.push_back(p + rows[0].caption + "\t" + rows[0].value);
        lines.push_back(p + rows[1].caption + "\t" + rows[1].value);
        lines.push_back(p + rows[2].caption + "\t" + rows[2].value + " (" + module.Manufacturer +
                        ")");
        lines.push_back(p + rows[3].caption + "\t" + module.PartNumber);
        lines.push_back(p + rows[4].caption + "\t" + std::to_string(module.MemoryType));
        lines.push_back(p + "\xCB\xD9\xB6\xC8\t" + std::to_string(module.Speed)); // 速度
        lines.push_back(p + rows[4].caption + "\t" + rows[4].value);
        if (rows.size() == 7) {
            lines.push_back(p + rows[6].caption + "\t" + rows[6].value);
        }
        lines.push_back(p + rows[5].caption + "\t" + module.SerialNumber);
    }
    return lines;
}

TEST(RealMachinesTest, EachMachineGivesItsWindowLogAndExport) {
    int defined = 0;
    for (const Machine& machine : kMachines) {
        SCOPED_TRACE(machine.file);
        const MemorySnapshot snapshot =
            ReadReportFile(std::string(SLOTVANE_MACHINES) + machine.file + ".json");
        TempFolder folder;
        TKLog log{folder.File("Slotvane.log"), false, 10000};
        MemoryView view;
        ASSERT_TRUE(ScanModules(view, snapshot, &log));

        // The system panel and the width.
        EXPECT_EQ(view.slotsLabel,
                  "\xB2\xE5\xB2\xDB\xCA\xFD\xC1\xBF: " + std::to_string(machine.slots));
        EXPECT_EQ(view.maxmemLabel,
                  "\xD7\xEE\xB4\xF3\xC4\xDA\xB4\xE6: " + std::to_string(machine.maxGB) + " GB");
        EXPECT_EQ(view.curmemLabel, "\xB5\xB1\xC7\xB0\xC4\xDA\xB4\xE6: " +
                                        std::to_string(machine.installedGB) + " GB");
        EXPECT_EQ(view.narrowed, machine.narrowed);
        EXPECT_EQ(view.maxmemVisible, machine.maxmemShown);

        // Every module, on its pages.
        ASSERT_EQ(view.modules.size(), static_cast<std::size_t>(machine.modules));
        EXPECT_EQ(view.pageCount, machine.pages);
        EXPECT_EQ(view.pager.visible, machine.pages > 0);
        EXPECT_EQ(PageOf(view), machine.firstPage);
        TWin32_PhysicalMemory records(snapshot.modules);
        int shownModules = 0;
        for (int page = 0; page < std::max(machine.pages, 1); ++page) {
            ShowModulePage(view, page);
            for (int i = 0; i < kSlotPanelCount; ++i) {
                const SlotPanelState& panel = view.slots[i];
                if (!panel.listVisible) {
                    continue;
                }
                records.SetCollectionIndex(page * kSlotPanelCount + i);
                EXPECT_EQ(panel.rows.at(0).value, records.DeviceLocator);
                ++shownModules;
            }
        }
        EXPECT_EQ(shownModules, machine.modules);
        EXPECT_EQ(PageOf(view), machine.lastPage);

        int runningRows = 0;
        std::vector<std::string> makers;
        std::string export_;
        for (std::size_t k = 0; k < view.modules.size(); ++k) {
            const std::vector<ListRow>& rows = view.modules[k].rows;
            ASSERT_TRUE(rows.size() == 6 || rows.size() == 7);
            runningRows += rows.size() == 7 ? 1 : 0;
            const std::string maker = Utf8FromProgramText(rows[2].value);
            if (std::find(makers.begin(), makers.end(), maker) == makers.end()) {
                makers.push_back(maker);
            }
            export_ += (k > 0 ? "\r\n[BANK " : "[BANK ") + std::to_string(k + 1) + "]\r\n";
            for (const ListRow& row : rows) {
                export_ += row.caption + "\t" + row.value + "\r\n";
            }
        }
        EXPECT_EQ(runningRows, machine.runningRows);
        EXPECT_EQ(Joined(makers, "; "), Utf8(machine.makers));

        // The log and the export list every module, whichever page is shown.
        std::vector<std::string> logged;
        for (auto line = log.Lines().rbegin(); line != log.Lines().rend(); ++line) {
            logged.push_back(line->substr(line->find('\t', line->find('\t') + 1) + 1));
        }
        EXPECT_EQ(logged, ExpectedLog(view, snapshot));
        EXPECT_EQ(BuildReportText(view, "\t"), export_);

        const auto exact = kDefinedExports.find(machine.file);
        if (exact != kDefinedExports.end()) {
            ++defined;
            ShowModulePage(view, 0);
            EXPECT_FALSE(view.pager.visible);
            EXPECT_EQ(view.slotCaptions, MemoryView().slotCaptions);
            EXPECT_EQ(Utf8FromProgramText(BuildReportText(view, "\t")), Utf8(exact->second));
            EXPECT_EQ(logged.size(), view.modules.size() * 9);
        }
    }
    EXPECT_EQ(defined, 9);
}

} // namespace
