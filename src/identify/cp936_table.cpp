#include "identify/cp936_table.h"

namespace {

// kByCharacter and kByCode.
#include "identify/cp936_table.generated.inc"

} // namespace

std::span<const Cp936Pair> Cp936PairsByCharacter() {
    return kByCharacter;
}

std::span<const Cp936Pair> Cp936PairsByCode() {
    return kByCode;
}
