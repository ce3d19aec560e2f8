// A slot panel as one line: enabled or not, then what of it is visible ("on list spec",
// "on empty", "off"), so that tables of cases read as the window looks.
#pragma once

#include "memory/memory_view.h"

#include <string>

inline std::string Describe(const SlotPanelState& panel) {
    std::string text = panel.enabled ? "on" : "off";
    if (panel.listVisible) {
        text += " list";
    }
    if (panel.emptySlotButtonVisible) {
        text += " empty";
    }
    if (panel.specButtonVisible) {
        text += panel.specButtonEnabled ? " spec" : " spec(disabled)";
    } else if (panel.specButtonEnabled) {
        text += " spec(enabled while hidden)";
    }
    return text;
}
