#include "app/system_file_identification.h"

#include "identify/system_identify_platform.h"

#include "support/pe_builder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace pe_builder;

// What the update check sends for a program: the engine's names and version of its file.
TEST(SystemFileIdentificationTest, AnswersTheEnginesNamesAndVersion) {
    TempFolder folder;
    const std::string path = folder.File("tool.exe");
    std::ofstream(path, std::ios::binary)
        << BuildImage(UsualBlock({String(u"FileDescription", u"Memory Tool"),
                                  String(u"CompanyName", u"Foo Software, Inc."),
                                  String(u"FileVersion", u"1.2.3.4"),
                                  String(u"ProductName", u"Memory Tool")}),
                      false)
               .bytes;
    const auto platform = MakeSystemIdentifyPlatform();
    TSystemFileIdentification identification(*platform);
    const DisplayedNames names = identification.DisplayedFileInfo(path);
    EXPECT_EQ(names.Product, "Memory Tool");
    EXPECT_EQ(names.Company, "Foo Software, Inc.");
    EXPECT_EQ(identification.FileVersion(path), "1.2.3.4");
    EXPECT_EQ(identification.FileVersion(folder.File("missing.exe")), "File not found");
}

} // namespace
