// libFuzzer target for the small text parsers of outside input: ini-layout text (the link list,
// a product's ini files), version texts and the version detection's text cuts. Built and run by
// scripts/fuzz.
#include "identify/version_rules.h"
#include "identify/version_text.h"
#include "util/ini_text.h"
#include "util/version.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (ReadIniValue(text, "links", "ram", "").size() > kIniMaxLineLength) {
        std::abort();
    }
    TVeyraVersion version(text);
    const TVeyraVersion again(version.AsText());
    if (version.IsNewerThan(again) || again.IsNewerThan(version)) {
        std::abort();
    }
    LeadingVersionText(text);
    TrailingVersionText(text);
    ProductVersionDigits(text);
    SwapDayAndYear(text);
    EaseUsLogVersion(text);
    return 0;
}
