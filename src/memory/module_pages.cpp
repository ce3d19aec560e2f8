#include "memory/module_pages.h"

#include "memory/module_scan.h"

#include <algorithm>
#include <string>

int ModulePageCount(std::size_t moduleCount) {
    if (moduleCount <= kSlotPanelCount) {
        return 0;
    }
    return static_cast<int>((moduleCount + kSlotPanelCount - 1) / kSlotPanelCount);
}

void ShowModulePage(MemoryView& view, int page) {
    view.page = std::clamp(page, 0, std::max(view.pageCount, 1) - 1);
    for (int i = 0; i < kSlotPanelCount; ++i) {
        const int k = view.page * kSlotPanelCount + i;
        SlotPanelState& panel = view.slots[static_cast<std::size_t>(i)];
        panel.enabled = view.boardSlots > k;
        if (k < static_cast<int>(view.modules.size())) {
            const ModuleListView& module = view.modules[static_cast<std::size_t>(k)];
            panel.columnCaptions = module.columnCaptions;
            panel.rows = module.rows;
            panel.listVisible = true;
        } else {
            panel.columnCaptions.clear();
            panel.rows.clear();
            panel.listVisible = false;
        }
        panel.emptySlotButtonVisible = !panel.listVisible && panel.enabled;
        panel.specButtonVisible = panel.listVisible && !panel.emptySlotButtonVisible;
        panel.specButtonEnabled = panel.specButtonVisible && HasPartNumber(panel);
        view.slotCaptions[static_cast<std::size_t>(i)] = "插槽 " + std::to_string(k + 1);
    }

    ModulePagerState& pager = view.pager;
    pager.visible = view.pageCount > 0;
    pager.caption =
        pager.visible ? std::to_string(view.page + 1) + "/" + std::to_string(view.pageCount) : "";
    pager.previousEnabled = pager.visible && view.page > 0;
    pager.nextEnabled = pager.visible && view.page < view.pageCount - 1;
}
