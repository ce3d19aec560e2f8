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
