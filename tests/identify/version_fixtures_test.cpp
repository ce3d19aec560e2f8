// Real program files built from the .rc files of tests/resources/version. Both builds expect the
// same record from each: natively it comes from the resource parser alone, on Windows from the
// parser and the system's version functions.
#include "identify/system_identify_platform.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Fixture(const std::string& name) {
    return std::string(SLOTVANE_VERSION_FIXTURES) + name;
}

struct FixtureCase {
    const char* file;
    FileVersionInfoRec record;
};

class VersionFixtureTest : public testing::TestWithParam<FixtureCase> {};

INSTANTIATE_TEST_SUITE_P(
    Files, VersionFixtureTest,
    testing::Values(FixtureCase{"commas.dll",
                                {"Comma Tool", "Tarvik", "1.2.3.4", "commas",
                                 "Copyright 2024, 2025 Tarvik", "commas.dll", "Comma", "5.6.7.8"}},
                    FixtureCase{"missing_keys.dll", {"", "", "", "sparse", "", "", "Sparse", ""}},
                    FixtureCase{"needs_fallback.dll",
                                {"Fallback Tool", "Tarvik", "3.1", "", "", "", "Fallback", "3.1"}},
                    // Chinese text is written as its code page 936 bytes.
                    FixtureCase{"two_languages.dll",
                                {"\xC4\xDA\xB4\xE6\xB9\xA4\xBE\xDF",
                                 "\xCB\xFE\xCE\xAC\xBF\xCB\xC8\xED\xBC\xFE", "4.0", "", "", "",
                                 "\xC4\xDA\xB4\xE6", ""}},
                    FixtureCase{"symbols.dll",
                                {"Sym\xAE Tool\x99 for Pok\xA8\xA8r ?", "Tarvik\x99 Ltd.", "5.0",
                                 "", "\xA9 2024 Tarvik", "", "Sym\xAE", ""}},
                    FixtureCase{"no_translation.dll", {"", "", "", "", "", "", "", ""}},
                    FixtureCase{"no_version.dll", {"", "", "", "", "", "", "", ""}}),
    [](const testing::TestParamInfo<FixtureCase>& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST_P(VersionFixtureTest, ReadsTheEightStrings) {
    const auto platform = MakeSystemIdentifyPlatform();
    const FileVersionInfoRec read = platform->ReadVersionStrings(Fixture(GetParam().file));
    const FileVersionInfoRec& expected = GetParam().record;
    EXPECT_EQ(read.FileDescription, expected.FileDescription);
    EXPECT_EQ(read.CompanyName, expected.CompanyName);
    EXPECT_EQ(read.FileVersion, expected.FileVersion);
    EXPECT_EQ(read.InternalName, expected.InternalName);
    EXPECT_EQ(read.LegalCopyright, expected.LegalCopyright);
    EXPECT_EQ(read.OriginalFilename, expected.OriginalFilename);
    EXPECT_EQ(read.ProductName, expected.ProductName);
    EXPECT_EQ(read.ProductVersion, expected.ProductVersion);
    bool is64 = false;
    EXPECT_TRUE(platform->IsPEImage(Fixture(GetParam().file), is64));
    EXPECT_TRUE(is64);
}

TEST(VersionFixtures, FixedVersionTextComesFromTheFixedInfo) {
    const auto platform = MakeSystemIdentifyPlatform();
    EXPECT_EQ(platform->GetFileVersionText(Fixture("commas.dll")), "1.2.3.4");
    EXPECT_EQ(platform->GetFileVersionText(Fixture("no_version.dll")), "");
}

} // namespace
