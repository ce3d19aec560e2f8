#include "identify/version_strings.h"

#include "support/pe_builder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace pe_builder;

// The platform's reading as a script: a resource that loads or not, a translation, and texts by
// query path. Records the queries it is asked.
class FakeVersionApi final : public IVersionApi {
public:
    bool loads = true;
    std::optional<VersionTranslation> translation;
    std::map<std::string, std::u16string> texts;
    std::vector<std::string> loaded;
    std::vector<std::string> queries;

    std::optional<std::string> Load(const std::string& path) override {
        loaded.push_back(path);
        return loads ? std::optional<std::string>("resource") : std::nullopt;
    }
    std::optional<std::u16string> QueryText(const std::string&,
                                            const std::string& subBlock) override {
        queries.push_back(subBlock);
        const auto found = texts.find(subBlock);
        return found == texts.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<VersionTranslation> FirstTranslation(const std::string&) override {
        return translation;
    }
};

class ReadVersionStringsTest : public testing::Test {
protected:
    std::string Write(const std::string& bytes) {
        const std::string path = folder_.File("program.exe");
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    TempFolder folder_;
    FakeVersionApi fallback_;
};

TEST_F(ReadVersionStringsTest, PrimaryReadTakesTheFirstTableIgnoringKeyCase) {
    const std::string path = Write(
        BuildImage(
            Encode(VersionRoot(
                {StringFileInfo(
                     {StringTable(u"080404B0", {String(u"FILEDESCRIPTION", u"\u4E2D\u6587 Tool"),
                                                String(u"companyname", u"Tarvik\u00AE"),
                                                String(u"FileVersion", u"1, 2, 3, 4"),
                                                String(u"InternalName", u"tool"),
                                                String(u"LegalCopyright", u"\u00A9 1, 2"),
                                                String(u"OriginalFilename", u"tool.exe"),
                                                String(u"ProductName", u"Tool\u2122"),
                                                String(u"ProductVersion", u"5, 6")}),
                      StringTable(u"040904B0", {String(u"FileDescription", u"English")})}),
                 Translations({0x040904B0})})))
            .bytes);
    const FileVersionInfoRec record = ReadVersionStrings(path, fallback_);
    EXPECT_EQ(record.FileDescription, "\xD6\xD0\xCE\xC4 Tool");
    EXPECT_EQ(record.CompanyName, "Tarvik\xAE");
    EXPECT_EQ(record.FileVersion, "1.2.3.4");
    EXPECT_EQ(record.InternalName, "tool");
    EXPECT_EQ(record.LegalCopyright, "\xA9 1, 2");
    EXPECT_EQ(record.OriginalFilename, "tool.exe");
    EXPECT_EQ(record.ProductName, "Tool\x99");
    EXPECT_EQ(record.ProductVersion, "5.6");
    EXPECT_TRUE(fallback_.loaded.empty());
}

TEST_F(ReadVersionStringsTest, FallbackQueriesTheFirstTranslationWithItsOwnKeySpelling) {
    const std::string path = Write(BuildImage(UsualBlock({String(u"ProductName", u"Only")})).bytes);
    fallback_.translation = VersionTranslation{0x0409, 0x04B0};
    fallback_.texts["\\StringFileInfo\\040904B0\\CompanyName"] = u"Tarvik";
    fallback_.texts["\\StringFileInfo\\040904B0\\ProductVersion"] = u"2, 0";
    const FileVersionInfoRec record = ReadVersionStrings(path, fallback_);
    EXPECT_EQ(fallback_.loaded, std::vector<std::string>{path});
    EXPECT_EQ(fallback_.queries,
              (std::vector<std::string>{"\\StringFileInfo\\040904B0\\FileDescription",
                                        "\\StringFileInfo\\040904B0\\CompanyName",
                                        "\\StringFileInfo\\040904B0\\FileVersion",
                                        "\\StringFileInfo\\040904B0\\InternalName",
                                        "\\StringFileInfo\\040904B0\\LegalCopyRight",
                                        "\\StringFileInfo\\040904B0\\OriginalFileName",
                                        "\\StringFileInfo\\040904B0\\ProductName",
                                        "\\StringFileInfo\\040904B0\\ProductVersion"}));
    // The fallback overwrites all eight fields, the primary read's product name included.
    EXPECT_EQ(record.CompanyName, "Tarvik");
    EXPECT_EQ(record.ProductName, "");
    EXPECT_EQ(record.ProductVersion, "2.0");
}

TEST_F(ReadVersionStringsTest, FallbackWithoutTranslationQueriesBareKeys) {
    fallback_.texts["CompanyName"] = u"Bare";
    const FileVersionInfoRec record = ReadVersionStrings(folder_.File("missing.exe"), fallback_);
    EXPECT_EQ(fallback_.queries.front(), "FileDescription");
    EXPECT_EQ(record.CompanyName, "Bare");
}

TEST_F(ReadVersionStringsTest, FallbackThatCannotLoadLeavesEverythingEmpty) {
    fallback_.loads = false;
    const FileVersionInfoRec record = ReadVersionStrings(Write("MZ"), fallback_);
    EXPECT_EQ(fallback_.loaded.size(), 1u);
    EXPECT_TRUE(fallback_.queries.empty());
    EXPECT_EQ(record.FileDescription + record.ProductName + record.FileVersion, "");
}

// Any one of the three fields keeps the primary read.
TEST_F(ReadVersionStringsTest, OneOfTheThreeFieldsIsEnough) {
    for (const char16_t* key : {u"FileDescription", u"CompanyName", u"FileVersion"}) {
        FakeVersionApi fallback;
        const std::string path = Write(BuildImage(UsualBlock({String(key, u"x")})).bytes);
        ReadVersionStrings(path, fallback);
        EXPECT_TRUE(fallback.loaded.empty());
    }
}

struct PathCase {
    const char* name;
    const char* path;
    bool underWow64;
    const char* systemFolder;
    const char* expected;
};

class NativeSystemPathTest : public testing::TestWithParam<PathCase> {};

INSTANTIATE_TEST_SUITE_P(
    Paths, NativeSystemPathTest,
    testing::Values(PathCase{"Wow64SystemFile", "C:\\Windows\\System32\\drivers\\x.sys", true,
                             "C:\\Windows\\System32", "C:\\Windows\\sysnative\\drivers\\x.sys"},
                    PathCase{"SixtyFourBitProcessUnchanged", "C:\\Windows\\System32\\a.dll", false,
                             "C:\\Windows\\System32", "C:\\Windows\\System32\\a.dll"},
                    PathCase{"FolderComparedWithCase", "c:\\windows\\system32\\a.dll", true,
                             "C:\\Windows\\System32", "c:\\windows\\system32\\a.dll"},
                    PathCase{"OutsideTheSystemFolder", "D:\\Tools\\System32\\a.dll", true,
                             "C:\\Windows\\System32", "D:\\Tools\\System32\\a.dll"},
                    PathCase{"UnknownSystemFolder", "C:\\Windows\\System32\\a.dll", true, "",
                             "C:\\Windows\\System32\\a.dll"},
                    PathCase{"OnlyTheFirstOccurrence", "C:\\Windows\\SYSTEM32\\system32\\a.dll",
                             true, "C:\\Windows\\SYSTEM32",
                             "C:\\Windows\\sysnative\\system32\\a.dll"}),
    [](const testing::TestParamInfo<PathCase>& info) { return info.param.name; });

TEST_P(NativeSystemPathTest, RewritesOnlyForAProcessUnderWow64) {
    EXPECT_EQ(NativeSystemPath(GetParam().path, GetParam().underWow64, GetParam().systemFolder),
              GetParam().expected);
}

} // namespace
