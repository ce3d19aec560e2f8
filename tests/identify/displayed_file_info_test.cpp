#include "identify/displayed_file_info.h"

#include "identify/fake_identify_platform.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

FileVersionInfoRec Record(std::string description, std::string product, std::string company) {
    FileVersionInfoRec info;
    info.FileDescription = std::move(description);
    info.ProductName = std::move(product);
    info.CompanyName = std::move(company);
    return info;
}

TEST(DisplayedFileInfoTest, PairsProductAndCompany) {
    struct Case {
        std::string label;
        FileVersionInfoRec info;
        std::string product;
        std::string company;
    };
    const std::vector<Case> cases = {
        {"plain names", Record("Bar Editor", "Foo", "Foo Ltd"), "Bar Editor", "Foo Ltd"},
        {"untouched names are trimmed", Record("", "  Foo  ", " Foo Ltd "), "Foo", "Foo Ltd"},
        {"no version texts", {}, "tool", ""},
        {"emptied product, known company", Record("", "Foo ?? Bar", "Acme"), "tool", "Acme"},
        {"emptied product, no company", Record("", "Foo ?? Bar", ""), "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FakeIdentifyPlatform machine;
        machine.records["C:\\Apps\\tool.exe"] = c.info;
        const TDisplayedFileInfo info = GetDisplayedFileInfo("C:\\Apps\\tool.exe", machine);
        EXPECT_EQ(info.Product, c.product);
        EXPECT_EQ(info.Company, c.company);
    }
}

// "運" ends in the byte of "\\"; the name is still the file's whole name.
TEST(DisplayedFileInfoTest, ADoubleByteCharacterEndingInTheSeparatorsByteKeepsTheName) {
    FakeIdentifyPlatform machine;
    const TDisplayedFileInfo info = GetDisplayedFileInfo("C:\\Apps\\運动.exe", machine);
    EXPECT_EQ(info.Product, "運动");
}

TEST(DisplayedFileInfoTest, TheProgramItselfIsSlotvaneByTarvik) {
    // The strings of the program's own version resource (resources/version.rc.in).
    FileVersionInfoRec own;
    own.CompanyName = "Tarvik";
    own.FileDescription = "Slotvane memory module information";
    own.FileVersion = "1.0.0.0";
    own.InternalName = "slotvane";
    own.LegalCopyright = "Copyright (C) 2026 Tarvik";
    own.OriginalFilename = "slotvane.exe";
    own.ProductName = "Slotvane";
    own.ProductVersion = "1.0.0.0";
    const std::string path = "C:\\Program Files\\Slotvane\\slotvane.exe";
    for (const bool is64 : {false, true}) {
        SCOPED_TRACE(is64 ? "64-bit" : "32-bit");
        FakeIdentifyPlatform machine;
        machine.records[path] = own;
        machine.images[path] = is64;
        const TDisplayedFileInfo info = GetDisplayedFileInfo(path, machine);
        EXPECT_EQ(info.Product, is64 ? "Slotvane (64 bits)" : "Slotvane");
        EXPECT_EQ(info.Company, "Tarvik");
    }
}

TEST(DisplayedFileInfoTest, TokensGiveTheirFixedNames) {
    FakeIdentifyPlatform machine;
    const TDisplayedFileInfo info = GetDisplayedFileInfo("KLITEMEGA", machine);
    EXPECT_EQ(info.Product, "K-Lite Codec Pack (Mega)");
    EXPECT_EQ(info.Company, "K-Lite Codec Pack Team");
}

TEST(DisplayedFileInfoTest, ReadsThroughTheNativeSystemPath) {
    FakeIdentifyPlatform machine;
    machine.nativePaths["C:\\Windows\\System32\\foo.exe"] = "C:\\Windows\\Sysnative\\foo.exe";
    machine.records["C:\\Windows\\Sysnative\\foo.exe"] = Record("Foo Service", "", "Foo Ltd");
    const TDisplayedFileInfo info = GetDisplayedFileInfo("C:\\Windows\\System32\\foo.exe", machine);
    EXPECT_EQ(info.Product, "Foo Service");
    EXPECT_EQ(info.Company, "Foo Ltd");
}

TEST(DisplayedFileInfoTest, UnreadableDescriptorReachesTheCaller) {
    FakeIdentifyPlatform machine;
    machine.records["C:\\Apps\\tool.exe"] = Record("Foo", "", "");
    machine.unreadable.insert("C:\\Apps\\META-INF\\AIR\\application.xml");
    EXPECT_THROW(GetDisplayedFileInfo("C:\\Apps\\tool.exe", machine), std::runtime_error);
}

} // namespace
