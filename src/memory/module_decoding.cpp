#include "memory/module_decoding.h"

#include "memory/jep106_makers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace {

struct VendorRow {
    std::vector<std::string_view> codes; // the identifier begins with one of these
    std::vector<std::string_view> names; // the identifier contains one of these
    std::string_view result;
};

// A code is either the code byte after one continuation code 7F per bank above the first, or a
// bank byte followed by the code byte. "Fujistu" is the spelling found in firmware tables.
const std::vector<VendorRow> kVendorRows = {
    {{"04", "8004"}, {"Fujistu"}, "Fujitsu"},
    {{"0500", "7F7FFE", "02FE"}, {"Elpida"}, "Elpida"},
    {{"07", "8007"}, {"Hitachi"}, "Hitachi"},
    {{"08", "8008"}, {"Inmos"}, "Inmos"},
    {{"0B", "800B"}, {"Intersil"}, "Intersil"},
    {{"0D", "800D"}, {"Mostek"}, "Mostek"},
    {{"0E", "800E"}, {"Freescale", "Motorola"}, "Freescale (Motorola)"},
    {{"10", "8010"}, {"NEC"}, "NEC"},
    {{"13", "8013"}, {"Conexant", "Rockwell"}, "Conexant (Rockwell)"},
    {{"15", "8015"}, {"Philips", "Signetics", "NXP"}, "NXP (Philips Semi, Signetics)"},
    {{"16", "8016"}, {"Synertek"}, "Synertek"},
    {{}, {"Xicor"}, "Xicor"},
    {{"1A", "801A"}, {"Zilog"}, "Zilog"},
    {{"1C", "801C"}, {"Mitsubishi"}, "Mitsubishi"},
    {{"2C", "802C"}, {"Micron Technology"}, "Micron Technology"},
    {{"40", "8040"}, {"ProMOS", "Mosel Vitelic"}, "ProMOS/Mosel Vitelic"},
    {{"6A", "806A"}, {"Goldenram"}, "Goldenram"},
    {{"7F7FB5"}, {"SpecTek"}, "SpecTek"},
    {{"7F7F7F0B", "830B"}, {"Nanya"}, "Nanya Technology"},
    {{"83", "8083"}, {"Fairchild"}, "Fairchild"},
    {{"85"}, {"GTE"}, "GTE"},
    {{"89", "8089"}, {"Numonyx", "Intel"}, "Numonyx (Intel)"},
    {{"91", "8091"}, {"DATARAM"}, "DATARAM"},
    {{"94", "0194"}, {"Smart Modular"}, "Smart Modular"},
    {{"98", "8098"}, {"Toshiba"}, "Toshiba"},
    {{"A4", "80A4"}, {"IBM"}, "IBM"},
    {{"AD", "80AD", "00AD"}, {"Hynix", "Hyundai"}, "Hynix (Hyundai)"},
    {{"C1", "80C1", "7F7F7F7F7F51"}, {"Infineon", "Siemens"}, "Infineon (Siemens)"},
    {{"CE", "80CE", "00CE"}, {"Samsung"}, "Samsung"},
    {{"DE", "80DE"}, {"Winbond"}, "Winbond Electronics"},
    {{"E0", "80E0"}, {"LG", "Goldstar"}, "LG (Goldstar)"},
    {{"7F45"}, {"Micron CMS"}, "Micron CMS"},
    {{"0198", "7F98"}, {"Kingston"}, "Kingston"},
    {{"7F7F7F7F43"}, {"Ramaxel"}, "Ramaxel Technology"},
    {{"01", "8001"}, {"AMD"}, "AMD"},
    {{"02", "8002"}, {"AMI"}, "AMI"},
    {{"06C1"}, {"ASint"}, "ASint"},
};

struct MemoryType {
    std::uint16_t code;
    std::string_view name;
};

// Codes above the last row are "Unknown" as well.
// clang-format off
constexpr std::array<MemoryType, 31> kMemoryTypes = {{
    {0, "Unknown"},
    {1, "Other"},
    {2, "DRAM"},
    {3, "Synchronous DRAM"},
    {4, "Cache DRAM"},
    {5, "EDO"},
    {6, "EDRAM"},
    {7, "VRAM"},
    {8, "SRAM"},
    {9, "RAM"},
    {10, "ROM"},
    {11, "Flash"},
    {12, "EEPROM"},
    {13, "FEPROM"},
    {14, "EPROM"},
    {15, "CDRAM"},
    {16, "3DRAM"},
    {17, "SDRAM"},
    {18, "SGRAM"},
    {19, "RDRAM"},
    {20, "DDR"},
    {21, "DDR2"},
    {22, "DDR2 FB-DIMM"},
    {23, "Reserved"},
    {24, "DDR3"},
    {25, "FBD2"},
    {26, "DDR4"},
    {27, "LPDDR"},
    {28, "LPDDR2"},
    {29, "LPDDR3"},
    {30, "LPDDR4"},
}};
// clang-format on

// The firmware's memory-device types that name a type of memory module.
// clang-format off
constexpr std::array<MemoryType, 15> kSmbiosMemoryTypes = {{
    {0x12, "DDR"},
    {0x13, "DDR2"},
    {0x14, "DDR2 FB-DIMM"},
    {0x18, "DDR3"},
    {0x19, "FBD2"},
    {0x1A, "DDR4"},
    {0x1B, "LPDDR"},
    {0x1C, "LPDDR2"},
    {0x1D, "LPDDR3"},
    {0x1E, "LPDDR4"},
    {0x20, "HBM"},
    {0x21, "HBM2"},
    {0x22, "DDR5"},
    {0x23, "LPDDR5"},
    {0x24, "HBM3"},
}};
// clang-format on

struct SpeedGuess {
    std::int32_t lowest; // MHz, inclusive
    std::int32_t highest;
    std::string_view name; // empty: no guess
};

constexpr std::array<SpeedGuess, 5> kSpeedGuesses = {{
    {std::numeric_limits<std::int32_t>::min(), 200, ""},
    {201, 399, "DDR"},
    {400, 799, "DDR2"},
    {800, 2399, "DDR3/4"},
    {2400, std::numeric_limits<std::int32_t>::max(), "DDR4"},
}};

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(char a, char b) {
    return AsciiLower(a) == AsciiLower(b);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), SameIgnoringCase);
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), SameIgnoringCase) !=
           text.end();
}

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view TrimBlanksAndControls(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlankOrControl(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The length of the longest of the row's codes that the identifier begins with; 0 for none.
std::size_t MatchingCodeLength(const VendorRow& row, std::string_view identifier) {
    std::size_t longest = 0;
    for (std::string_view code : row.codes) {
        if (StartsWithIgnoringCase(identifier, code)) {
            longest = std::max(longest, code.size());
        }
    }
    return longest;
}

bool MatchesName(const VendorRow& row, std::string_view identifier) {
    return std::any_of(row.names.begin(), row.names.end(), [&](std::string_view name) {
        return ContainsIgnoringCase(identifier, name);
    });
}

// The result of the rows that match, or nothing when none does. Later rows win, except that a
// row matching only through a code does not override a result set through a longer code: "0198"
// is Kingston, not the "01" of AMD. With skipTwoDigitCodes a row that matches only through a
// two-digit code does not apply at all.
std::optional<std::string_view> MatchVendorRows(std::string_view identifier,
                                                bool skipTwoDigitCodes) {
    std::optional<std::string_view> result;
    std::size_t resultCodeLength = 0;
    for (const VendorRow& row : kVendorRows) {
        const std::size_t codeLength = MatchingCodeLength(row, identifier);
        const bool nameMatches = MatchesName(row, identifier);
        if (!nameMatches && skipTwoDigitCodes && codeLength == 2) {
            continue;
        }
        if (nameMatches || (codeLength > 0 && codeLength >= resultCodeLength)) {
            result = row.result;
            resultCodeLength = codeLength;
        }
    }
    return result;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    return AsciiLower(c) - 'a' + 10;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The identifier without a leading "0x" and with the blanks between byte pairs removed:
// "0x80CE" and "80 CE" are both "80CE". The blanks stay where anything but whole byte pairs
// stands between them.
std::string CompactCode(std::string_view identifier) {
    if (StartsWithIgnoringCase(identifier, "0x")) {
        identifier.remove_prefix(2);
    }
    std::string compact;
    std::size_t groupLength = 0;
    for (char c : identifier) {
        if (IsBlank(c)) {
            if (groupLength % 2 != 0) {
                return std::string(identifier);
            }
            groupLength = 0;
            continue;
        }
        if (!IsHexDigit(c)) {
            return std::string(identifier);
        }
        compact += c;
        ++groupLength;
    }
    return groupLength % 2 == 0 ? compact : std::string(identifier);
}

// The bytes of a text of hexadecimal digit pairs; nothing for any other text.
std::optional<std::vector<int>> HexBytes(std::string_view text) {
    if (text.empty() || text.size() % 2 != 0 ||
        !std::all_of(text.begin(), text.end(), IsHexDigit)) {
        return std::nullopt;
    }
    std::vector<int> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        bytes.push_back(HexValue(text[i]) * 16 + HexValue(text[i + 1]));
    }
    return bytes;
}

bool HasOddParity(int byte) {
    return std::popcount(static_cast<unsigned>(byte)) % 2 == 1;
}

constexpr int kContinuationCode = 0x7F;

// A code byte: odd parity and a code other than zero.
bool IsValidCodeByte(int byte) {
    return HasOddParity(byte) && (byte & 0x7F) != 0;
}

// The maker of a bank byte (the number of continuation codes, with odd parity) and a code byte.
std::string_view PairMaker(int bankByte, int codeByte) {
    if (!HasOddParity(bankByte) || !IsValidCodeByte(codeByte)) {
        return {};
    }
    return Jep106MakerName((bankByte & 0x7F) + 1, codeByte & 0x7F);
}

struct TwoByteCode {
    int bank;
    std::string_view maker;
};

// The two-byte form: bank byte, code byte, then zero bytes, among which one more valid two-byte
// code may stand (the maker repeated, or the maker of the chips: "80AD000080AD",
// "859B0000802C").
std::optional<TwoByteCode> DecodeTwoByteForm(const std::vector<int>& bytes) {
    if (bytes.size() < 2) {
        return std::nullopt;
    }
    const std::string_view maker = PairMaker(bytes[0], bytes[1]);
    if (maker.empty()) {
        return std::nullopt;
    }
    bool secondCodeSeen = false;
    for (std::size_t i = 2; i < bytes.size(); ++i) {
        if (bytes[i] == 0) {
            continue;
        }
        if (secondCodeSeen || i + 1 >= bytes.size() || PairMaker(bytes[i], bytes[i + 1]).empty()) {
            return std::nullopt;
        }
        secondCodeSeen = true;
        ++i;
    }
    return TwoByteCode{(bytes[0] & 0x7F) + 1, maker};
}

// The continuation form: one 7F per bank above the first, the code byte, then zero bytes.
std::string_view DecodeContinuationForm(const std::vector<int>& bytes) {
    std::size_t continuations = 0;
    while (continuations < bytes.size() && bytes[continuations] == kContinuationCode) {
        ++continuations;
    }
    if (continuations == bytes.size() || !IsValidCodeByte(bytes[continuations]) ||
        !std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(continuations) + 1, bytes.end(),
                     [](int byte) { return byte == 0; })) {
        return {};
    }
    return Jep106MakerName(static_cast<int>(continuations) + 1, bytes[continuations] & 0x7F);
}

} // namespace

std::string DecodeVendor(const std::string& manufacturer) {
    constexpr std::string_view kJedecPrefix = "JEDEC ID:";
    std::string_view identifier = manufacturer;
    if (StartsWithIgnoringCase(identifier, kJedecPrefix)) {
        identifier = TrimBlanksAndControls(identifier.substr(kJedecPrefix.size()));
    }

    const std::string compact = CompactCode(identifier);
    const std::optional<std::vector<int>> bytes = HexBytes(compact);
    const std::optional<TwoByteCode> twoByteCode = bytes ? DecodeTwoByteForm(*bytes) : std::nullopt;

    // In a two-byte code of bank 2 or higher the first byte is a bank, not a bank-1 maker:
    // "859B" is Crucial, not the "85" of GTE.
    const bool bankFirst = twoByteCode && twoByteCode->bank >= 2;
    std::optional<std::string_view> result = MatchVendorRows(identifier, bankFirst);
    if (!result && compact != identifier) {
        result = MatchVendorRows(compact, bankFirst);
    }
    if (!result && twoByteCode) {
        result = twoByteCode->maker;
    }
    if (!result && bytes) {
        const std::string_view maker = DecodeContinuationForm(*bytes);
        if (!maker.empty()) {
            result = maker;
        }
    }

    const std::string_view decoded = result.value_or(identifier);
    if (StartsWithIgnoringCase(decoded, "Manufacturer")) {
        return "N/A";
    }
    return std::string(decoded);
}

std::string MemoryTypeName(std::uint16_t memoryType, std::int32_t speed,
                           std::uint32_t smbiosMemoryType) {
    std::string_view name = "Unknown";
    for (const MemoryType& type : kMemoryTypes) {
        if (type.code == memoryType) {
            name = type.name;
        }
    }
    // Unknown, Other and DRAM: what the firmware knows beats a guess. A known code always stands.
    if (memoryType <= 2) {
        for (const MemoryType& type : kSmbiosMemoryTypes) {
            if (type.code == smbiosMemoryType) {
                return std::string(type.name);
            }
        }
    }
    const bool saysNothing = name == "Reserved" || name == "Unknown" || memoryType < 2;
    if (saysNothing) {
        for (const SpeedGuess& guess : kSpeedGuesses) {
            if (speed >= guess.lowest && speed <= guess.highest && !guess.name.empty()) {
                name = guess.name;
            }
        }
    }
    return std::string(name);
}
