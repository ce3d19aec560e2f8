// The characters of code page 936 beyond ASCII: a generated table (scripts/generate-cp936-table).
#pragma once

#include <cstdint>
#include <span>

struct Cp936Pair {
    std::uint16_t character; // UTF-16 code unit
    std::uint16_t code;      // a lead and a trail byte; below 0x100 a single byte
};

// Every pair, sorted by character.
std::span<const Cp936Pair> Cp936PairsByCharacter();
// The same pairs, sorted by code.
std::span<const Cp936Pair> Cp936PairsByCode();
