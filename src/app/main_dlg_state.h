// What the main window shows, as plain data: the portable logic computes it, the Win32 view
// applies it, and the export and search buttons read it back as the window's list views.
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
inline constexpr int kDesignedClientWidth = 751;
inline constexpr int kDesignedClientHeight = 495;
// Outer width of the window once narrowed to the left column of slot panels:
// general_grp left + slot1_grp left + slot1_grp width + 16.
inline constexpr int kNarrowedWindowWidth = 2 + 8 + 361 + 16;

struct MainDlgState {
    std::string caption = "MainDlg";
    bool narrowed = false; // the outer width is kNarrowedWindowWidth
    // The banner draws its own dark colour also under visual styles once start-up has switched it
    // to its parent's background and straight back.
    bool bannerOwnColour = false;
    bool checkForUpdateEnabled = true; // the menu item Checkforupdate1

    std::string slotsLabel = "插槽数量:";
    std::string curmemLabel = "当前内存:";
    std::string maxmemLabel = "最大内存:";
    bool maxmemVisible = true;

    std::string phyusedLabel = "已用:";
    std::string phytotLabel = "可用:";

    std::array<SlotPanelState, kSlotPanelCount> slots;
    // The captions of getRAM1_btn..getRAM4_btn; none at design time.
    std::array<std::string, kSlotPanelCount> emptySlotCaptions;

    bool operator==(const MainDlgState&) const = default;
};
