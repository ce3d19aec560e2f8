#include "identify/version_resource.h"

#include "support/pe_builder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace pe_builder;

std::string TwoTableBlock() {
    return Encode(VersionRoot(
        {StringFileInfo({StringTable(u"080404B0", {String(u"ProductName", u"\u4E2D")}),
                         StringTable(u"040904B0", {String(u"ProductName", u"Tool"),
                                                   String(u"CompanyName", u"Tarvik")})}),
         Translations({0x080404B0, 0x040904B0})},
        FixedInfo(0x0005000600070008)));
}

TEST(ParseVersionResource, ReadsFixedInfoTablesInOrderAndTranslations) {
    const VersionResource resource = ParseVersionResource(TwoTableBlock());
    ASSERT_TRUE(resource.fixed);
    EXPECT_EQ(resource.fixed->fileVersion, 0x0005000600070008u);
    ASSERT_EQ(resource.tables.size(), 2u);
    EXPECT_EQ(resource.tables[0].key, u"080404B0");
    EXPECT_EQ(resource.tables[1].key, u"040904B0");
    ASSERT_EQ(resource.tables[1].strings.size(), 2u);
    EXPECT_EQ(resource.tables[1].strings[1].first, u"CompanyName");
    EXPECT_EQ(resource.tables[1].strings[1].second, u"Tarvik");
    ASSERT_EQ(resource.translations.size(), 2u);
    EXPECT_EQ(resource.translations[0].language, 0x0804);
    EXPECT_EQ(resource.translations[0].codePage, 0x04B0);
}

TEST(ParseVersionResource, RefusesABlockThatIsNotAVersionBlock) {
    Node other = VersionRoot({StringFileInfo({StringTable(u"040904B0", {})})});
    other.key = u"SOMETHING_ELSE";
    EXPECT_TRUE(ParseVersionResource(Encode(other)).tables.empty());
    EXPECT_FALSE(ParseVersionResource(Encode(other)).fixed);
    EXPECT_FALSE(ParseVersionResource("").fixed);
}

struct QueryCase {
    const char* name;
    const char* path;
    std::optional<std::u16string> text;
};

class QueryVersionValueTest : public testing::TestWithParam<QueryCase> {};

INSTANTIATE_TEST_SUITE_P(
    Paths, QueryVersionValueTest,
    testing::Values(
        QueryCase{"ExactKeys", "\\StringFileInfo\\040904B0\\CompanyName", u"Tarvik"},
        QueryCase{"KeysIgnoreCase", "\\stringfileinfo\\040904b0\\COMPANYNAME", u"Tarvik"},
        QueryCase{"OtherTable", "\\StringFileInfo\\080404B0\\ProductName", u"\u4E2D"},
        QueryCase{"MissingKey", "\\StringFileInfo\\040904B0\\FileVersion", std::nullopt},
        QueryCase{"MissingTable", "\\StringFileInfo\\041104B0\\ProductName", std::nullopt},
        QueryCase{"BareKeyIsNotAtTheRoot", "ProductName", std::nullopt},
        QueryCase{"TooDeep", "\\StringFileInfo\\040904B0\\ProductName\\More", std::nullopt}),
    [](const testing::TestParamInfo<QueryCase>& info) { return info.param.name; });

TEST_P(QueryVersionValueTest, FindsValuesByPath) {
    const std::string block = TwoTableBlock();
    const auto value = QueryVersionValue(block, GetParam().path);
    ASSERT_EQ(value.has_value(), GetParam().text.has_value());
    if (value) {
        EXPECT_TRUE(value->isText);
        EXPECT_EQ(TextUpToNul(value->bytes), *GetParam().text);
    }
}

TEST(QueryVersionValue, RootIsTheFixedInfoAndTranslationIsBinary) {
    const std::string block = TwoTableBlock();
    const auto root = QueryVersionValue(block, "\\");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->bytes.size(), 52u);
    const auto translation = QueryVersionValue(block, "\\VarFileInfo\\Translation");
    ASSERT_TRUE(translation);
    EXPECT_FALSE(translation->isText);
    EXPECT_EQ(translation->bytes, std::string("\x04\x08\xB0\x04\x09\x04\xB0\x04", 8));
}

// A value length beyond its node is cut to the node: the next node's bytes never leak in.
TEST(QueryVersionValue, CutsAValueToItsNode) {
    const std::string block =
        UsualBlock({Node{u"ProductName", Utf16Bytes(u"Tool", false), true, {}, {}, 0x7FFF},
                    String(u"CompanyName", u"Tarvik")});
    const auto value = QueryVersionValue(block, "\\StringFileInfo\\040904B0\\ProductName");
    ASSERT_TRUE(value);
    EXPECT_EQ(TextUpToNul(value->bytes), u"Tool");
    EXPECT_EQ(
        TextUpToNul(
            QueryVersionValue(block, "\\StringFileInfo\\040904B0\\CompanyName").value().bytes),
        u"Tarvik");
}

} // namespace
