// The maker names of the JEDEC manufacturer codes (JEP106), by bank and code.
#pragma once

#include <span>
#include <string_view>

struct Jep106Maker {
    int bank; // 1 for a code without continuation codes before it
    int code; // the code byte without its parity bit, 1 to 126
    std::string_view name;
};

// Every named code, ordered by bank and code. Generated from a published table: see
// scripts/generate-jep106.
std::span<const Jep106Maker> Jep106Makers();

// The highest bank the table holds.
int Jep106BankCount();

// The maker's name for the code (without its parity bit) in the bank; empty when none is named.
std::string_view Jep106MakerName(int bank, int code);
