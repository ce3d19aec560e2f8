#include "memory/module_decoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct VendorCase {
    std::string manufacturer;
    std::string expected;
};

void ExpectVendors(const VendorCase* begin, const VendorCase* end) {
    for (const VendorCase* c = begin; c != end; ++c) {
        EXPECT_EQ(DecodeVendor(c->manufacturer), c->expected)
            << "manufacturer: '" << c->manufacturer << "'";
    }
}

TEST(DecodeVendorTest, CodesMatchAtTheStartInEitherCase) {
    const VendorCase cases[] = {
        {"CE00000000000000", "Samsung"},
        {"80CE", "Samsung"},
        {"ce", "Samsung"},
        {"00ce0000", "Samsung"},
        {"8001", "AMD"},
        {"0500", "Elpida"},
        {"7F7FFE0000000000", "Elpida"},
        {"16", "Synertek"},
        {"7f7f7f0b", "Nanya Technology"},
        {"7F7F7F7F7F510000", "Infineon (Siemens)"},
        {"85", "GTE"},
        {"8085", "GTE"}, // no row has this two-byte form: the code table names it
        {"0CE", "0CE"},  // a code must stand at the very start
    };
    ExpectVendors(std::begin(cases), std::end(cases));
}

TEST(DecodeVendorTest, NamesMatchAnywhereInEitherCase) {
    const VendorCase cases[] = {
        {"Samsung", "Samsung"},
        {"SAMSUNG ELECTRONICS", "Samsung"},
        {"Xicor Inc.", "Xicor"},
        {"Hyundai Electronics", "Hynix (Hyundai)"},
        {"The Motorola part", "Freescale (Motorola)"},
        {"Fujistu", "Fujitsu"},
        {"Fujitsu Ltd", "Fujitsu Ltd"}, // only the firmware's misspelling is a name of the row
    };
    ExpectVendors(std::begin(cases), std::end(cases));
}

TEST(DecodeVendorTest, ShorterCodeOfALaterRowDoesNotOverrideALongerOne) {
    const VendorCase cases[] = {
        {"0198", "Kingston"}, // not the "01" of AMD
        {"0194", "Smart Modular"},
        {"02FE", "Elpida"}, // not the "02" of AMI
        {"830B", "Nanya Technology"},
        {"01", "AMD"},
        {"02", "AMI"},
        // A result found by name gives way to any later code...
        {"01 Samsung", "AMD"},
        // ...but a later code shorter than the one that set the result does not.
        {"0198 Samsung", "Kingston"},
        // A later row's name always wins.
        {"0198 AMD", "AMD"},
    };
    ExpectVendors(std::begin(cases), std::end(cases));
}

TEST(DecodeVendorTest, JedecPrefixIsRemovedAndTheRestTrimmed) {
    const VendorCase cases[] = {
        {"JEDEC ID: 2C 00", "Micron Technology"},
        {"jedec id:\t\r\n80AD ", "Hynix (Hyundai)"},
        {"JEDEC ID:", ""},
        {"JEDEC ID: 7777", "7777"}, // an unknown code comes back without the prefix
        {" JEDEC ID: 2C", " JEDEC ID: 2C"},
    };
    ExpectVendors(std::begin(cases), std::end(cases));
}

TEST(DecodeVendorTest, PlaceholdersBecomeNotAvailable) {
    const VendorCase cases[] = {
        {"Manufacturer00", "N/A"},
        {"manufacturer", "N/A"},
        {"JEDEC ID: Manufacturer0", "N/A"},
        {"Unknown Manufacturer", "Unknown Manufacturer"},
        {"", ""},
    };
    ExpectVendors(std::begin(cases), std::end(cases));
}

TEST(DecodeVendorTest, UnknownTextComesBackUnchanged) {
    const VendorCase cases[] = {
        {"Undefined", "Undefined"},
        {"FFFF", "FFFF"},
        {"\xC4\xDA\xB4\xE6", "\xC4\xDA\xB4\xE6"}, // GBK text
    };
    ExpectVendors(std::begin(cases), std::end(cases));
}

// Forms found in the firmware tables of real machines, each with the maker it stands for.
TEST(DecodeVendorTest, RealWorldCodeFormsNameTheirMaker) {
    const VendorCase cases[] = {
        {"80AD000080AD", "Hynix (Hyundai)"},
        {"0x80CE", "Samsung"},
        {"0X80ce", "Samsung"},
        {"JEDEC ID:80 CE", "Samsung"},
        {"80 2C 00 00", "Micron Technology"},
        {"7F98000000000000", "Kingston"},
        {"AD00000000000000", "Hynix (Hyundai)"},
        // Bank byte first: the rows' two-digit codes of bank 1 do not apply.
        {"859B", "Crucial Technology"},
        {"859B0000802C", "Crucial Technology"}, // the module's maker, then the chips'
        {"0x859B", "Crucial Technology"},
        {"029E", "Corsair"},
        {"04CD", "G Skill Intl"},
        {"04CB", "A-DATA Technology"},
        {"04EF", "Team Group Inc."},
        {"8502", "Patriot Memory"},
        {"JEDEC ID:01 98", "Kingston"},
        {"029E0000029E", "Corsair"},
        // Codes that no row holds, in either form.
        {"7F7F9E0000000000", "Corsair"},
        {"7F7F7F7FCD", "G Skill Intl"},
        {"8086", "Harris"},
        {"0x7F7F 9E 00", "Corsair"},
    };
    ExpectVendors(std::begin(cases), std::end(cases));
}

TEST(DecodeVendorTest, TextThatIsNoValidCodeKeepsTheRowsResultOrComesBackUnchanged) {
    const VendorCase cases[] = {
        {"0000", "0000"},
        {"FFFFFFFF", "FFFFFFFF"},
        {"039E", "039E"},                 // bank byte of even parity
        {"029F", "AMI"},                  // code byte of even parity: the row's "02" stands
        {"0E9E", "Freescale (Motorola)"}, // bank 15 is beyond the code table
        {"8500", "GTE"},                  // code zero
        {"859B1234", "GTE"},              // what follows is neither zeros nor a code
        {"859B802C802C", "GTE"},          // only one further code may follow
        {"7F7F", "7F7F"},                 // continuation codes without a code
        {"7F7F9E007F", "7F7F9E007F"},
        {"7F7F7F7F7F7F7F7F7F7F7F7F7F9E", "7F7F7F7F7F7F7F7F7F7F7F7F7F9E"}, // bank 14
        {"80 C E", "80 C E"}, // a split byte pair keeps its blanks
        {"0x", "0x"},
        {"0xManufacturer", "0xManufacturer"},
    };
    ExpectVendors(std::begin(cases), std::end(cases));
}

TEST(MemoryTypeNameTest, KnownCodesKeepTheirNameAndOthersAreGuessedFromSpeed) {
    struct Case {
        std::uint16_t memoryType;
        std::int32_t speed;
        std::string expected;
    };
    const Case cases[] = {
        {24, 1333, "DDR3"},      {26, 0, "DDR4"},
        {21, 3200, "DDR2"}, // a known code is never replaced
        {2, 3200, "DRAM"},       {3, 0, "Synchronous DRAM"},
        {22, 0, "DDR2 FB-DIMM"}, {30, 4266, "LPDDR4"},
        {0, 0, "Unknown"},       {0, -5, "Unknown"},
        {0, 200, "Unknown"},     {0, 201, "DDR"},
        {0, 399, "DDR"},         {0, 400, "DDR2"},
        {0, 799, "DDR2"},        {0, 800, "DDR3/4"},
        {0, 2399, "DDR3/4"},     {0, 2400, "DDR4"},
        {0, 2147483647, "DDR4"}, {1, 100, "Other"},
        {1, 1066, "DDR3/4"},     {23, 100, "Reserved"},
        {23, 2400, "DDR4"},      {31, 0, "Unknown"},
        {45, 800, "DDR3/4"},     {45, 100, "Unknown"},
        {65535, 667, "DDR2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MemoryTypeName(c.memoryType, c.speed), c.expected)
            << "type " << c.memoryType << ", speed " << c.speed;
    }
}

} // namespace
