#include "identify/company_name.h"

#include "identify/fake_identify_platform.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

const std::string kTool = "C:\\Apps\\Tool\\tool.exe";

struct Case {
    std::string company;
    std::string expected;
};

// Companies of a file whose product no row knows.
void ExpectNormalized(const std::vector<Case>& cases) {
    FakeIdentifyPlatform machine;
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.company + "'");
        EXPECT_EQ(NormalizeCompanyName(c.company, kTool, machine), c.expected);
    }
}

TEST(CompanyNameTest, GeneralStepsCleanTheText) {
    ExpectNormalized({
        {"Foo Ltd\r\nMore text", "Foo Ltd"},
        {"  Foo Ltd \t", "Foo Ltd"},
        {"-", ""},
        {"Foo\xAE", "Foo"},
        {"Foo \xB0\xAE", "Foo \xB0\xAE"},
        {"Foo Corp <foo at example>", "Foo Corp"},
        {"Foo Software,", "Foo Software"},
        {"Foo Software;", "Foo Software"},
        {"Foo (", "Foo"},
        {"Foo Ltd - ;", "Foo Ltd"},
        {"Foo [", "Foo"},
        {"Foo L.L.C.", "Foo LLC"},
        {"Foo l.l.c.", "Foo LLC"},
        {"Author: Foo", "Foo"},
        {"Original author: Foo", "Foo"},
        {"Foo Corp http://foo.example", "Foo Corp"},
        {"Foo Corp http://foo.example and friends", "Foo Corp http://foo.example and friends"},
        {"Foo Cohttp://foo.example", "Foo Co"},
        {"Foohttp://foo.example", "Foohttp://foo.example"},
        {"Foo http://foo.example", "Foo"},
        {"http://foo.example", "http://foo.example"},
        {"Foo Corp www.foo.example", "Foo Corp"},
        {"Foo www.foo.example", "Foo www.foo.example"},
        {"Foo Corp - http://a.example http://b.example", "Foo Corp"},
        {"Company", ""},
        {"company", ""},
        {"TODO:", ""},
        {"TODO: <Company name>", ""},
        {"none", ""},
        {".", ""},
        {"$Foo", ""},
        {"GNU", ""},
        {"gnu general public license v2", ""},
        {"Released under the GNU GPL", ""},
        {"GNU Project", "GNU Project"},
        {"Foo Inc.", "Foo Inc."},
        {"Foo, Inc", "Foo, Inc"},
    });
}

TEST(CompanyNameTest, TellingRows) {
    ExpectNormalized({
        {"Geek Uninstaller Team", "Geek Uninstaller"},
        {"SlySoft, Inc.", "RedFox"},
        {"Computer Dell", "Dell"},
        {"Free Software Foundation, Inc.", ""},
        {"Brother", "Brother Industries, Ltd."},
        {"Brother Industries Ltd", "Brother Industries, Ltd."},
        {"Brotherhood Games", "Brotherhood Games"},
        {"Schneider Electric SA", "Schneider Electric"},
        {"Schneider & Partner", "Schneider & Partner"},
        {"GnuWin32 <http://gnuwin32.sourceforge.net>", "GnuWin32"},
        {"Foo Corp <a>", "Foo Corp"},
        {"Foo Corp >", "Foo Corp >"},
        {"Creative Commons License \"by-nc-sa 3.0\", this program is freeware under Creative "
         "Commons License \"by",
         ""},
        {"G DATA Software AG", "G Data Software AG"},
        {"g data software", "g data software"},
        {"Intel(R) Corporation", "Intel"},
        {"INTEL CORPORATION", "Intel"},
        {"Broadcom Corporation", "Broadcom"},
        {"broadcom corp", "broadcom corp"},
        {"HP", "Hewlett-Packard"},
        {"hp", "hp"},
        {"Mirabilis ICQ, inc.", "Mirabilis ICQ Inc."},
        {"DT Soft Ltd", "DT Soft Ltd"},
        {"Sun Microsystems, Inc.", "Oracle"},
        {"Gretech Corp.", "Gretech Corporation"},
    });
}

TEST(CompanyNameTest, RowsAreAsNarrowAsTheirKeys) {
    ExpectNormalized({
        {"Creative Labs Pte Ltd", "Creative Technology Ltd"},
        {"Creative Minds Studio", "Creative Minds Studio"},
        {"Sony Corporation of America", "Sony Corporation"},
        {"Sonya Software", "Sonya Software"},
        {"SEIKO EPSON CORPORATION", "Seiko Epson Corporation"},
        {"Repsonic Audio", "Repsonic Audio"},
        {"Paragon Software GmbH", "Paragon Software"},
        {"Paragon Games", "Paragon Games"},
        {"AMD Inc.", "AMD"},
        {"AMDOCS", "AMDOCS"},
        {"Intel Security", "Intel Security"},
        {"VSO-Software SARL", "VSO Software"},
        {"VSO", "VSO"},
    });
}

FileVersionInfoRec Record(std::string product, std::string company, std::string copyright = {}) {
    FileVersionInfoRec info;
    info.ProductName = std::move(product);
    info.CompanyName = std::move(company);
    info.LegalCopyright = std::move(copyright);
    return info;
}

struct FileCase {
    std::string label;
    std::string path;
    FileVersionInfoRec info;
    std::string expected;
};

void ExpectCompanies(const std::vector<FileCase>& cases) {
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.label);
        FakeIdentifyPlatform machine;
        machine.records[c.path] = c.info;
        EXPECT_EQ(GetCompanyName(c.path, machine), c.expected);
    }
}

TEST(CompanyNameTest, RowsRecogniseThePublisherByProductOrFile) {
    ExpectCompanies({
        {"NAPS2 by product", kTool, Record("NAPS2", ""), "NAPS2 Team"},
        {"28", kTool, Record("Tor Browser", "The Tor Project, Inc."), "Tor Project"},
        {"36", kTool, Record("PhotoScape", ""), "Mooii Tech"},
        {"36 with a company", kTool, Record("PhotoScape", "Someone Else"), "Someone Else"},
        {"58", kTool, Record("TortoiseGit", "http://tortoisegit.org"), "TortoiseGit Team"},
        {"122", kTool, Record("Advanced SystemCare", "CopyRight\xA9"), "IOBit"},
        {"122 by path", "C:\\IObit\\x.exe", Record("", "CopyRight\xA9"), "IOBit"},
        {"217", "C:\\S\\songbird.exe", Record("", "Mozilla Foundation"), "POTI, Inc."},
        {"271", kTool, Record("Prevent Restore", ""), "PrivacyRoot"},
        {"271 other company", kTool, Record("Prevent Restore", "Other Ltd"), "Other Ltd"},
    });
}

TEST(CompanyNameTest, CopyrightLineIsTheFallback) {
    ExpectCompanies({
        {"copyright only", kTool,
         Record("", "", "Copyright (c) 2010 Foo Inc. All rights reserved."), "Foo Inc"},
        {"company wins", kTool, Record("", "Bar Ltd", "Copyright (c) 2010 Foo Inc."), "Bar Ltd"},
        {"company of copyright wording", kTool, Record("", "\xA9 2005-2010 Foo GmbH"), "Foo GmbH"},
        {"rows run again after the cleanup", kTool, Record("", "", "(c) 2011 Intel Corporation"),
         "Intel"},
        {"question marks", kTool, Record("", "??????"), ""},
        {"one question mark", kTool, Record("", "?"), ""},
        {"nothing", kTool, Record("", ""), ""},
    });
}

TEST(CompanyNameTest, TokensHaveFixedCompanies) {
    FakeIdentifyPlatform machine;
    const std::vector<Case> tokens = {
        {"CCCP", "CCCP Project"},
        {"QTA", "QuickTime Alternative Team"},
        {"QTL", "QuickTime Lite Team"},
        {"KLITE", "K-Lite Codec Pack Team"},
        {"KLITE64", "K-Lite Codec Pack Team"},
        {"KLITEMEGA", "K-Lite Codec Pack Team"},
        {"qta", ""},
    };
    for (const Case& c : tokens) {
        SCOPED_TRACE(c.company);
        EXPECT_EQ(GetCompanyName(c.company, machine), c.expected);
    }
}

TEST(CompanyNameTest, DescriptorNamesTheCopyrightHolder) {
    FakeIdentifyPlatform machine;
    const std::string descriptor = "C:\\Apps\\Tool\\META-INF\\AIR\\application.xml";
    machine.files[descriptor] = {"<copyright>Air Maker Ltd,</copyright>"};
    EXPECT_EQ(GetCompanyName(kTool, machine), "Air Maker Ltd");

    machine.records[kTool] = Record("", "Acme");
    EXPECT_EQ(GetCompanyName(kTool, machine), "Acme");

    FakeIdentifyPlatform broken;
    broken.unreadable.insert(descriptor);
    EXPECT_THROW(GetCompanyName(kTool, broken), std::runtime_error);
}

TEST(CompanyNameTest, RowsAreNumberedInOrder) {
    int expected = 1;
    for (const NameRule& rule : CompanyNameRules()) {
        EXPECT_EQ(rule.number, expected++);
    }
    EXPECT_EQ(expected - 1, 272);
}

} // namespace
