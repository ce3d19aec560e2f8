#include "memory/report_export.h"

#include "support/temp_folder.h"
#include "util/os_error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// Row captions as GBK bytes: 插槽名称, 容量, 制造商, 型号, 类型, 序列号.
const std::string kLocator = "\xB2\xE5\xB2\xDB\xC3\xFB\xB3\xC6";
const std::string kCapacity = "\xC8\xDD\xC1\xBF";
const std::string kVendor = "\xD6\xC6\xD4\xEC\xC9\xCC";
const std::string kPart = "\xD0\xCD\xBA\xC5";
const std::string kType = "\xC0\xE0\xD0\xCD";
const std::string kSerial = "\xD0\xF2\xC1\xD0\xBA\xC5";

struct ShellRequest {
    std::string file;
    std::string parameters;
    std::string verb;
    int showMode;
    std::string contentWhenOpened;
};

class RecordingShell final : public IShell {
public:
    bool RunProgram(const std::string& file, const std::string& parameters, const std::string& verb,
                    int showMode) override {
        requests.push_back({file, parameters, verb, showMode, ReadFileBytes(file)});
        return accept;
    }

    std::vector<ShellRequest> requests;
    bool accept = true;
};

std::vector<ListRow> ModuleRows(const std::string& locator, const std::string& part) {
    return {{kLocator, locator}, {kCapacity, "8 GB"},         {kVendor, "Kingston"},
            {kPart, part},       {kType, "DDR3 / PC3-12800"}, {kSerial, "A1B2C3D4"}};
}

std::string ModuleLines(const std::string& separator, const std::string& locator,
                        const std::string& part) {
    std::string lines;
    for (const ListRow& row : ModuleRows(locator, part)) {
        lines += row.caption + separator + row.value + "\r\n";
    }
    return lines;
}

// Modules in the first `modules` list views; the other list views hidden, as after a scan.
MemoryView Scanned(int modules) {
    MemoryView state;
    for (int i = 0; i < kSlotPanelCount; ++i) {
        SlotPanelState& slot = state.slots[static_cast<std::size_t>(i)];
        slot.listVisible = i < modules;
        if (slot.listVisible) {
            slot.rows = ModuleRows("DIMM" + std::to_string(i), "KHX1600C9D3/8G");
        }
    }
    return state;
}

class ReportExportTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string dataFolder = (folder.Path() / "").string();
    RecordingShell shell;
};

TEST_F(ReportExportTest, WritesNothingButStillOpensTheFileWhenNoModuleWasFound) {
    ext1Click(Scanned(0), dataFolder, shell);

    ASSERT_EQ(shell.requests.size(), 1u);
    const ShellRequest& request = shell.requests[0];
    EXPECT_EQ(request.file, dataFolder + "export.txt");
    EXPECT_EQ(request.parameters, "");
    EXPECT_EQ(request.verb, "");
    EXPECT_EQ(request.showMode, 1);
    EXPECT_TRUE(std::filesystem::exists(request.file));
    EXPECT_EQ(request.contentWhenOpened, "");
}

TEST_F(ReportExportTest, WritesOneSectionPerVisibleListView) {
    ext1Click(Scanned(2), dataFolder, shell);

    EXPECT_EQ(ReadFileBytes(dataFolder + "export.txt"),
              "[BANK 1]\r\n" + ModuleLines("\t", "DIMM0", "KHX1600C9D3/8G") + "\r\n[BANK 2]\r\n" +
                  ModuleLines("\t", "DIMM1", "KHX1600C9D3/8G"));
}

TEST_F(ReportExportTest, ExportsListViewsOfPanelsOutsideANarrowedWindow) {
    MemoryView state = Scanned(4);
    state.narrowed = true;
    state.slots[2].enabled = false;
    state.slots[3].enabled = false;

    ext1Click(state, dataFolder, shell);

    std::string expected;
    for (int i = 0; i < 4; ++i) {
        expected += (i > 0 ? "\r\n[BANK " : "[BANK ") + std::to_string(i + 1) + "]\r\n" +
                    ModuleLines("\t", "DIMM" + std::to_string(i), "KHX1600C9D3/8G");
    }
    EXPECT_EQ(ReadFileBytes(dataFolder + "export.txt"), expected);
}

TEST_F(ReportExportTest, ListsEveryModuleOfMoreThanFourWhicheverPageThePanelsShow) {
    MemoryView state = Scanned(4);
    for (int k = 0; k < 6; ++k) {
        state.modules.push_back({{}, ModuleRows("DIMM" + std::to_string(k), "KHX1600C9D3/8G")});
    }
    // The panels show the second page: modules 5 and 6, the other list views hidden.
    state.page = 1;
    state.slots[0].rows = state.modules[4].rows;
    state.slots[1].rows = state.modules[5].rows;
    state.slots[2].listVisible = false;
    state.slots[3].listVisible = false;

    Spreadsheet1Click(state, dataFolder, shell);

    std::string expected;
    for (int k = 0; k < 6; ++k) {
        expected += (k > 0 ? "\r\n[BANK " : "[BANK ") + std::to_string(k + 1) + "]\r\n" +
                    ModuleLines(";", "DIMM" + std::to_string(k), "KHX1600C9D3/8G");
    }
    EXPECT_EQ(ReadFileBytes(dataFolder + "export.csv"), expected);
}

TEST_F(ReportExportTest, WritesEmptyForAVisibleListViewWithoutRowsAndSkipsHiddenOnes) {
    MemoryView state = Scanned(0);
    state.slots[1].listVisible = true;
    state.slots[3].listVisible = true;
    state.slots[3].rows = {{"N/A", "N/A"}};

    ext1Click(state, dataFolder, shell);

    EXPECT_EQ(ReadFileBytes(dataFolder + "export.txt"),
              "\r\n[BANK 2]\r\nEmpty\r\n\r\n[BANK 4]\r\nN/A\tN/A\r\n");
}

TEST_F(ReportExportTest, WritesTextAndSpreadsheetSideBySideWithoutQuoting) {
    MemoryView state = Scanned(1);
    state.slots[0].rows = ModuleRows("ChannelA-DIMM0", "CT8G;4DFD8 \"x\"\t1");

    ext1Click(state, dataFolder, shell);
    Spreadsheet1Click(state, dataFolder, shell);

    EXPECT_EQ(ReadFileBytes(dataFolder + "export.txt"),
              "[BANK 1]\r\n" + ModuleLines("\t", "ChannelA-DIMM0", "CT8G;4DFD8 \"x\"\t1"));
    EXPECT_EQ(ReadFileBytes(dataFolder + "export.csv"),
              "[BANK 1]\r\n" + ModuleLines(";", "ChannelA-DIMM0", "CT8G;4DFD8 \"x\"\t1"));
    EXPECT_NE(ReadFileBytes(dataFolder + "export.csv").find(kPart + ";CT8G;4DFD8 \"x\"\t1\r\n"),
              std::string::npos);
    ASSERT_EQ(shell.requests.size(), 2u);
    EXPECT_EQ(shell.requests[1].file, dataFolder + "export.csv");
}

TEST_F(ReportExportTest, ReplacesTheFileOfAnEarlierExport) {
    ext1Click(Scanned(4), dataFolder, shell);
    shell.accept = false;
    ext1Click(Scanned(1), dataFolder, shell);

    EXPECT_EQ(ReadFileBytes(dataFolder + "export.txt"),
              "[BANK 1]\r\n" + ModuleLines("\t", "DIMM0", "KHX1600C9D3/8G"));
}

TEST_F(ReportExportTest, RaisesAndOpensNothingWhenTheFileCannotBeWritten) {
    const std::string missingFolder = (folder.Path() / "missing" / "").string();

    EXPECT_THROW(Spreadsheet1Click(Scanned(2), missingFolder, shell), OSError);
    EXPECT_TRUE(shell.requests.empty());
}

} // namespace
