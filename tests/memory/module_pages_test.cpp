#include "memory/module_pages.h"

#include "memory/module_scan.h"
#include "memory/panel_description.h"
#include "wmi/fake_wmi_service.h"
#include "wmi/memory_fixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

const std::string kSlot = "\xB2\xE5\xB2\xDB "; // 插槽, then a blank

// Module n (from 1) is in "DIMM n"; the ninth has no part number, so its search is disabled.
MemoryView Scanned(int modules, int boardSlots) {
    FakeAutomation service;
    service.Machine().classes["Win32_PhysicalMemoryArray"] = {ArrayInstance(268435456, boardSlots)};
    auto& instances = service.Machine().classes["Win32_PhysicalMemory"];
    for (int n = 1; n <= modules; ++n) {
        instances.push_back(ModuleInstance({"DIMM " + std::to_string(n), "4294967296", "Kingston",
                                            n == 9 ? "" : "KF432C16", 26, 3200, "S"}));
    }
    MemoryView view;
    ScanModules(view, service, nullptr);
    return view;
}

using Panels = std::array<std::string, kSlotPanelCount>;

struct Page {
    Panels panels;
    Panels slotNames; // row 0 of each panel, empty where it shows no module
    std::string caption;
    bool previous;
    bool next;
};

std::vector<Page> Walk(MemoryView& view) {
    std::vector<Page> pages;
    for (int page = 0; page < view.pageCount; ++page) {
        ShowModulePage(view, page);
        Page shown{{}, {}, view.pager.caption, view.pager.previousEnabled, view.pager.nextEnabled};
        for (int i = 0; i < kSlotPanelCount; ++i) {
            shown.panels[i] = Describe(view.slots[i]);
            shown.slotNames[i] = view.slots[i].rows.empty() ? "" : view.slots[i].rows[0].value;
            EXPECT_EQ(view.slotCaptions[i], kSlot + std::to_string(page * 4 + i + 1));
        }
        pages.push_back(shown);
    }
    return pages;
}

TEST(ModulePagesTest, NineModulesFillThreePagesAndTheLastShowsTheBoardsOtherSlots) {
    struct Case {
        const char* name;
        int boardSlots;
        Panels lastPage;
    };
    const Case cases[] = {
        {"twelve slots: the slots past the last module are empty",
         12,
         {"on list spec(disabled)", "on empty", "on empty", "on empty"}},
        {"ten slots", 10, {"on list spec(disabled)", "on empty", "off", "off"}},
        {"eight slots: the ninth module lies in a slot the board does not report",
         8,
         {"off list spec(disabled)", "off", "off", "off"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryView view = Scanned(9, c.boardSlots);
        ASSERT_EQ(view.pageCount, 3);
        const std::vector<Page> pages = Walk(view);
        ASSERT_EQ(pages.size(), 3u);

        const Panels full = {"on list spec", "on list spec", "on list spec", "on list spec"};
        EXPECT_EQ(pages[0].panels, full);
        EXPECT_EQ(pages[0].slotNames, (Panels{"DIMM 1", "DIMM 2", "DIMM 3", "DIMM 4"}));
        EXPECT_EQ(pages[1].panels, full);
        EXPECT_EQ(pages[1].slotNames, (Panels{"DIMM 5", "DIMM 6", "DIMM 7", "DIMM 8"}));
        EXPECT_EQ(pages[2].panels, c.lastPage);
        EXPECT_EQ(pages[2].slotNames, (Panels{"DIMM 9", "", "", ""}));

        EXPECT_EQ(pages[0].caption, "1/3");
        EXPECT_EQ(pages[1].caption, "2/3");
        EXPECT_EQ(pages[2].caption, "3/3");
        EXPECT_EQ((std::array{pages[0].previous, pages[1].previous, pages[2].previous}),
                  (std::array{false, true, true}));
        EXPECT_EQ((std::array{pages[0].next, pages[1].next, pages[2].next}),
                  (std::array{true, true, false}));
    }
}

TEST(ModulePagesTest, TheFirstPageAfterTheScanIsWhatTheScanShowedAndPagesAreHeldInRange) {
    MemoryView view = Scanned(9, 12);
    const MemoryView scanned = view;
    ShowModulePage(view, 2);
    ShowModulePage(view, 0);
    EXPECT_EQ(view, scanned);

    ShowModulePage(view, 7);
    EXPECT_EQ(view.page, 2);
    EXPECT_EQ(view.pager.caption, "3/3");
    ShowModulePage(view, -1);
    EXPECT_EQ(view.page, 0);
}

TEST(ModulePagesTest, AtMostFourModulesHaveNoPagerAndOnePage) {
    for (const int modules : {0, 1, 4}) {
        SCOPED_TRACE(modules);
        MemoryView view = Scanned(modules, 4);
        EXPECT_EQ(view.pageCount, 0);
        EXPECT_EQ(view.pager, ModulePagerState());
        EXPECT_EQ(view.slotCaptions, MemoryView().slotCaptions);

        const MemoryView scanned = view;
        ShowModulePage(view, 1);
        EXPECT_EQ(view, scanned);
    }
}

TEST(ModulePagesTest, PageCountsOfFourModulesEach) {
    const std::array<std::pair<std::size_t, int>, 7> cases = {
        {{0, 0}, {4, 0}, {5, 2}, {8, 2}, {9, 3}, {32, 8}, {1024, 256}}};
    for (const auto& [modules, pages] : cases) {
        EXPECT_EQ(ModulePageCount(modules), pages) << modules;
    }
}

} // namespace
