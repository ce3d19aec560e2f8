#include "identify/pe_image.h"

#include "identify/version_api.h"
#include "identify/version_resource.h"
#include "identify/version_strings.h"
#include "support/pe_builder.h"
#include "support/temp_folder.h"
#include "util/file_bytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace pe_builder;

std::string UsualTestBlock() {
    return UsualBlock({String(u"FileDescription", u"Test Tool"), String(u"CompanyName", u"Tarvik"),
                       String(u"FileVersion", u"1, 2, 3, 4"), String(u"ProductVersion", u"5, 6")});
}

std::string Usual64() {
    return BuildImage(UsualTestBlock()).bytes;
}

// A usual image changed by edit.
std::string Edited(const std::function<void(Image&)>& edit, bool is64 = true) {
    Image image = BuildImage(UsualTestBlock(), is64);
    edit(image);
    return image.bytes;
}

std::string WithMagic(std::uint16_t magic) {
    return Edited([magic](Image& image) { PutU16(image.bytes, image.magic, magic); });
}

std::string WithNewHeaderOffset(std::uint32_t offset) {
    return Edited([offset](Image& image) { PutU32(image.bytes, 0x3C, offset); });
}

struct SignatureCase {
    const char* name;
    std::string bytes;
    bool isImage;
    bool is64;
};

class IsPEImageTest : public testing::TestWithParam<SignatureCase> {};

// Only the two signatures decide the answer; is64 only adds the optional header's magic.
INSTANTIATE_TEST_SUITE_P(
    Files, IsPEImageTest,
    testing::Values(
        SignatureCase{"Empty", "", false, false}, SignatureCase{"OneByte", "M", false, false},
        SignatureCase{"TwoBytes", "MZ", false, false},
        SignatureCase{"SixtyThreeBytes", "MZ" + std::string(61, '\0'), false, false},
        SignatureCase{"ReversedMagic", Edited([](Image& i) { i.bytes.replace(0, 2, "ZM"); }), false,
                      false},
        SignatureCase{"LowerCaseMagic", Edited([](Image& i) { i.bytes.replace(0, 2, "mz"); }),
                      false, false},
        SignatureCase{"OffsetZero", WithNewHeaderOffset(0), false, false},
        SignatureCase{"OffsetFour", WithNewHeaderOffset(4), false, false},
        SignatureCase{"OffsetFourWithSignatureThere", Edited([](Image& i) {
                          PutU32(i.bytes, 0x3C, 4);
                          i.bytes.replace(4, 4, std::string("PE\0\0", 4));
                      }),
                      true, false},
        SignatureCase{"OffsetPointsAtItself", WithNewHeaderOffset(0x3C), false, false},
        SignatureCase{"OffsetPastTheEnd", WithNewHeaderOffset(0x10000), false, false},
        SignatureCase{"OffsetNearFourGigabytes", WithNewHeaderOffset(0xFFFFFFFE), false, false},
        SignatureCase{"OffsetNegativeAsSigned", WithNewHeaderOffset(0x80000000), false, false},
        SignatureCase{"SignatureWithOne", Edited([](Image& i) { i.bytes[i.signature + 3] = 1; }),
                      false, false},
        SignatureCase{"EndsAfterPE", Usual64().substr(0, 0x42), false, false},
        SignatureCase{"EndsAfterFullSignature", Usual64().substr(0, 0x44), true, false},
        SignatureCase{"EndsInsideMagic", Usual64().substr(0, 0x40 + 25), true, false},
        SignatureCase{"EndsAfterMagic", Usual64().substr(0, 0x40 + 26), true, true},
        SignatureCase{"Magic64", WithMagic(0x20B), true, true},
        SignatureCase{"Magic32", WithMagic(0x10B), true, false},
        SignatureCase{"MagicRom", WithMagic(0x107), true, false},
        SignatureCase{"MagicZero", WithMagic(0), true, false},
        SignatureCase{"MagicAllOnes", WithMagic(0xFFFF), true, false},
        SignatureCase{"Image32", BuildImage(UsualTestBlock(), false).bytes, true, false},
        SignatureCase{"HugeSectionCount",
                      Edited([](Image& i) { PutU16(i.bytes, i.sectionCount, 0xFFFF); }), true,
                      true},
        SignatureCase{"Text", "This is not a program, only a text file.", false, false}),
    [](const testing::TestParamInfo<SignatureCase>& info) { return info.param.name; });

TEST_P(IsPEImageTest, AnswersFromTheSignaturesOnly) {
    const MemoryByteSource file(GetParam().bytes);
    bool is64 = true;
    EXPECT_EQ(IsPEImage(file, is64), GetParam().isImage);
    EXPECT_EQ(is64, GetParam().is64);
}

TEST(IsPEImageFile, ReadsTheFileAndRefusesMissingFilesAndEmptyPaths) {
    TempFolder folder;
    const std::string image = folder.File("tool.exe");
    { std::ofstream(image, std::ios::binary) << Usual64(); }
    bool is64 = false;
    EXPECT_TRUE(IsPEImage(image, is64));
    EXPECT_TRUE(is64);
    EXPECT_FALSE(IsPEImage(folder.File("missing.exe"), is64));
    EXPECT_FALSE(is64);
    EXPECT_FALSE(IsPEImage(std::string(), is64));
    EXPECT_FALSE(IsPEImage(folder.Path().string(), is64));
}

// The record read from a file's bytes, with the resource parser as the fallback read.
FileVersionInfoRec ReadRecord(const std::string& bytes) {
    TempFolder folder;
    const std::string path = folder.File("program.exe");
    { std::ofstream(path, std::ios::binary) << bytes; }
    ParsedVersionApi fallback;
    return ReadVersionStrings(path, fallback);
}

Node StringWithoutNul(std::u16string key, std::u16string_view value) {
    return Node{std::move(key), Utf16Bytes(value, false), true, {}, {}, {}};
}

struct MalformedCase {
    const char* name;
    std::string bytes;
    const char* description; // what FileDescription reads
    const char* version;     // what FileVersion reads
};

class MalformedVersionTest : public testing::TestWithParam<MalformedCase> {};

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedVersionTest,
    testing::Values(
        MalformedCase{"Usual", Usual64(), "Test Tool", "1.2.3.4"},
        MalformedCase{"Usual32", BuildImage(UsualTestBlock(), false).bytes, "Test Tool", "1.2.3.4"},
        MalformedCase{"ResourceFarIntoTheFile", BuildImage(UsualTestBlock(), true, 0x5000).bytes,
                      "Test Tool", "1.2.3.4"},
        MalformedCase{"NoImage", "MZ", "", ""},
        MalformedCase{"HugeSectionCount",
                      Edited([](Image& i) { PutU16(i.bytes, i.sectionCount, 0xFFFF); }),
                      "Test Tool", "1.2.3.4"},
        MalformedCase{"NoSections", Edited([](Image& i) { PutU16(i.bytes, i.sectionCount, 0); }),
                      "", ""},
        MalformedCase{"RootLengthZero", Edited([](Image& i) { PutU16(i.bytes, i.block, 0); }), "",
                      ""},
        MalformedCase{"RootLengthBeyondTheFile",
                      Edited([](Image& i) { PutU16(i.bytes, i.block, 0xFFFF); }), "Test Tool",
                      "1.2.3.4"},
        MalformedCase{
            "StringValueLengthAllOnes",
            BuildImage(
                UsualBlock(
                    {Node{u"FileDescription", Utf16Bytes(u"Test Tool", true), true, {}, {}, 0xFFFF},
                     String(u"FileVersion", u"1, 2")}))
                .bytes,
            "Test Tool", "1.2"},
        MalformedCase{"StringWithoutNul",
                      BuildImage(UsualBlock({StringWithoutNul(u"FileDescription", u"Tool"),
                                             String(u"FileVersion", u"7")}))
                          .bytes,
                      "Tool", "7"},
        MalformedCase{"LastStringWithoutNulAtTheFileEnd",
                      [] {
                          const std::string block = Encode(VersionRoot({StringFileInfo({StringTable(
                              u"040904B0", {String(u"FileVersion", u"7"),
                                            StringWithoutNul(u"FileDescription", u"Tool")})})}));
                          Image image = BuildImage(block);
                          image.bytes.resize(image.block + block.size());
                          return image.bytes;
                      }(),
                      "Tool", "7"},
        MalformedCase{"WrongFixedInfoSignature",
                      BuildImage(Encode(VersionRoot({StringFileInfo({StringTable(
                                                        u"040904B0",
                                                        {String(u"FileDescription", u"Tool")})})},
                                                    FixedInfo(0x0001000200030004, 0x12345678))))
                          .bytes,
                      "Tool", ""},
        MalformedCase{
            "StringFileInfoLengthZero",
            BuildImage(Encode(VersionRoot(
                           {Node{u"StringFileInfo",
                                 {},
                                 true,
                                 {StringTable(u"040904B0", {String(u"FileDescription", u"Tool")})},
                                 0,
                                 {}},
                            Translations({0x040904B0})})))
                .bytes,
            "", ""},
        MalformedCase{"TypeDirectoryPointsToItself",
                      Edited([](Image& i) { PutU32(i.bytes, i.typeEntryTarget, 0x80000000); }), "",
                      ""},
        MalformedCase{"NameDirectoryPointsBackToTheRoot",
                      Edited([](Image& i) { PutU32(i.bytes, i.nameEntryTarget, 0x80000000); }), "",
                      ""},
        MalformedCase{"LanguageDirectoryPointsToItself",
                      Edited([](Image& i) { PutU32(i.bytes, i.languageEntryTarget, 0x80000030); }),
                      "", ""},
        MalformedCase{"DataEntryOutsideTheImage",
                      Edited([](Image& i) { PutU32(i.bytes, i.dataEntry, 0x7FFFFFF0); }), "", ""},
        MalformedCase{"DataSizeHuge",
                      Edited([](Image& i) { PutU32(i.bytes, i.dataEntry + 4, 0xFFFFFFFF); }), "",
                      ""},
        MalformedCase{"NoTranslationEntry",
                      BuildImage(Encode(VersionRoot({StringFileInfo({StringTable(
                                     u"040904B0", {String(u"FileDescription", u"Tool")})})})))
                          .bytes,
                      "Tool", ""},
        MalformedCase{"TruncatedInsideTheDirectory", Usual64().substr(0, 0x210), "", ""},
        MalformedCase{"TruncatedInsideTheBlock", Usual64().substr(0, 0x200 + 0x58 + 260),
                      "Test Tool", ""}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return info.param.name; });

TEST_P(MalformedVersionTest, ReadsWhatTheBytesHoldAndLeavesTheRestEmpty) {
    const FileVersionInfoRec record = ReadRecord(GetParam().bytes);
    EXPECT_EQ(record.FileDescription, GetParam().description);
    EXPECT_EQ(record.FileVersion, GetParam().version);
}

struct PlacementCase {
    const char* name;
    std::string bytes;
    bool whole;
};

class VersionResourcePlacementTest : public testing::TestWithParam<PlacementCase> {};

// Only a resource whose claimed size the file's section data holds may go to the system's reader.
INSTANTIATE_TEST_SUITE_P(
    Files, VersionResourcePlacementTest,
    testing::Values(
        PlacementCase{"Usual", Usual64(), true},
        PlacementCase{"Usual32", BuildImage(UsualTestBlock(), false).bytes, true},
        PlacementCase{"SectionDataLongerThanTheFile",
                      Edited([](Image& i) { PutU32(i.bytes, i.section + 16, 0x10000); }), true},
        PlacementCase{"ClaimPastTheSectionData", OversizedVersionClaimImage(0x1000), false},
        PlacementCase{"ClaimAboveTheBound", OversizedVersionClaimImage(0x200000), false},
        PlacementCase{"ClaimOfFourGigabytes", OversizedVersionClaimImage(0xFFFFFFFF), false},
        PlacementCase{"FileEndsInsideTheResource", Usual64().substr(0, 0x200 + 0x58 + 260), false},
        PlacementCase{"NoImage", "MZ", false},
        PlacementCase{"NoResource",
                      Edited([](Image& i) { PutU32(i.bytes, i.typeEntryTarget - 4, 3); }), false}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

TEST_P(VersionResourcePlacementTest, TellsAResourceTheFileHoldsWhole) {
    const MemoryByteSource file(GetParam().bytes);
    EXPECT_EQ(VersionResourceLiesInFile(file), GetParam().whole);
}

// Whatever length a file is cut to, reading it stays inside the bytes it has (the sanitizers
// watch every read) and answers.
TEST(ProgramFileReader, ReadsEveryPrefixOfAnImage) {
    const std::string image = Usual64();
    for (std::size_t length = 0; length <= image.size(); ++length) {
        const MemoryByteSource file(std::string_view(image).substr(0, length));
        bool is64 = false;
        IsPEImage(file, is64);
        if (const auto block = ReadVersionResourceBytes(file)) {
            ParseVersionResource(*block);
            QueryVersionValue(*block, "\\StringFileInfo\\040904B0\\FileDescription");
        }
    }
    const std::string block = UsualTestBlock();
    for (std::size_t length = 0; length <= block.size(); ++length) {
        const std::string_view cut = std::string_view(block).substr(0, length);
        const VersionResource resource = ParseVersionResource(cut);
        if (length < block.size() / 2) {
            EXPECT_TRUE(resource.translations.empty());
        }
    }
}

} // namespace
