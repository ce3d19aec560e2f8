#include "memory/jep106_makers.h"

#include <algorithm>
#include <tuple>

namespace {

// kMakers.
#include "memory/jep106_makers.generated.inc"

} // namespace

std::span<const Jep106Maker> Jep106Makers() {
    return kMakers;
}

int Jep106BankCount() {
    const auto makers = Jep106Makers();
    return makers.empty() ? 0 : makers.back().bank;
}

std::string_view Jep106MakerName(int bank, int code) {
    const auto makers = Jep106Makers();
    const auto found = std::lower_bound(makers.begin(), makers.end(), std::tuple(bank, code),
                                        [](const Jep106Maker& maker, auto key) {
                                            return std::tuple(maker.bank, maker.code) < key;
                                        });
    if (found == makers.end() || found->bank != bank || found->code != code) {
        return {};
    }
    return found->name;
}
