// What the main window shows of the machine's memory, as plain data: the scan and the memory
// monitor compute it, the window applies it, and the export and search buttons read it back as
// the window's list views.
#pragma once

#include <array>
#include <string>
#include <vector>

// One row of a slot's list view: column 0 and column 1.
struct ListRow {
    std::string caption;
    std::string value;

    bool operator==(const ListRow&) const = default;
};

// One slot panel (slotN_grp) with its list view lstN, search button getSpecN_btn and empty-slot
// button getRAMN_btn.
struct SlotPanelState {
    bool enabled = true;
    bool listVisible = true;
    std::vector<std::string> columnCaptions; // none at design time
    std::vector<ListRow> rows;
    bool emptySlotButtonVisible = false;
    bool specButtonVisible = true;
    bool specButtonEnabled = true;

    bool operator==(const SlotPanelState&) const = default;
};

inline constexpr int kSlotPanelCount = 4;

// One module's list view as the scan filled it; a slot panel shows it while its page is shown.
struct ModuleListView {
    std::vector<std::string> columnCaptions;
    std::vector<ListRow> rows;

    bool operator==(const ModuleListView&) const = default;
};

// The pager beside the system panel ("◀", "1/3", "▶"), shown only with more than four modules.
struct ModulePagerState {
    bool visible = false;
    std::string caption;
    bool previousEnabled = false;
    bool nextEnabled = false;

    bool operator==(const ModulePagerState&) const = default;
};

struct MemoryView {
    bool narrowed = false; // the window shows only the left column of slot panels

    std::string slotsLabel = "插槽数量:";
    std::string curmemLabel = "当前内存:";
    std::string maxmemLabel = "最大内存:";
    bool maxmemVisible = true;

    std::string phyusedLabel = "已用:";
    std::string phytotLabel = "可用:";

    // The four panels as shown: the modules of the pager's page.
    std::array<SlotPanelState, kSlotPanelCount> slots;
    // The captions of slot1_grp..slot4_grp, numbered after the slots of the page.
    std::array<std::string, kSlotPanelCount> slotCaptions = {"插槽 1", "插槽 2", "插槽 3",
                                                             "插槽 4"};

    // Every module's list view, in the service's order; the export reads them all.
    std::vector<ModuleListView> modules;
    int boardSlots = 0; // the slots of the array read last, which enable the panels
    int pageCount = 0;  // pages of four modules; 0 with at most four, when there is no pager
    int page = 0;       // the page shown, from 0
    ModulePagerState pager;

    bool operator==(const MemoryView&) const = default;
};
