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

struct MemoryView {
    bool narrowed = false; // the window shows only the left column of slot panels

    std::string slotsLabel = "插槽数量:";
    std::string curmemLabel = "当前内存:";
    std::string maxmemLabel = "最大内存:";
    bool maxmemVisible = true;

    std::string phyusedLabel = "已用:";
    std::string phytotLabel = "可用:";

    std::array<SlotPanelState, kSlotPanelCount> slots;

    bool operator==(const MemoryView&) const = default;
};
