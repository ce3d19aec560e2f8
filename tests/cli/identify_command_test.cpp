#include "cli/identify_command.h"

#include "identify/fake_detection_platform.h"
#include "identify/string_helpers.h"
#include "identify/system_identify_platform.h"
#include "support/pe_builder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace pe_builder;

class IdentifyCommandTest : public testing::Test {
protected:
    IdentifyCommandTest() {
        std::ofstream(folder_.File("tool.exe"), std::ios::binary)
            << BuildImage(UsualBlock({String(u"FileDescription", u"Tab\there"),
                                      String(u"CompanyName", u"\u4E2D\u6587 \u00A9"),
                                      String(u"FileVersion", u"1, 2"),
                                      String(u"ProductName", u"Line\r\nbreak")}))
                   .bytes;
        std::ofstream(folder_.File("notes.txt"), std::ios::binary) << "plain text";
    }

    int Run(const std::vector<std::string>& arguments) {
        const auto platform = MakeSystemIdentifyPlatform();
        return RunIdentify(arguments, context_, *platform);
    }

    TempFolder folder_;
    std::ostringstream out_;
    std::ostringstream err_;
    double clock_ = 0;
    CliContext context_{out_, err_, [](const std::string& argument) { return argument; },
                        [this] { return clock_ += 1.5; }};
};

TEST_F(IdentifyCommandTest, PrintsOneTabSeparatedUtf8LinePerFile) {
    const std::string tool = folder_.File("tool.exe");
    const std::string notes = folder_.File("notes.txt");
    EXPECT_EQ(Run({tool, notes}), kExitSuccess);
    // A file without version texts is named after its base name.
    EXPECT_EQ(out_.str(),
              tool +
                  "\t1\t1\tTab\\there\t\xE4\xB8\xAD\xE6\x96\x87 \xC2\xA9\t1.2\t\t\t\t"
                  "Line\\r\\nbreak\t\tTab\\there (64 bits)\t\xE4\xB8\xAD\xE6\x96\x87\t1.2.3.4\n" +
                  notes + "\t0\t0\t\t\t\t\t\t\t\t\t" + FileBaseName(notes) + "\t\t\n");
    EXPECT_EQ(err_.str(), "");
}

TEST_F(IdentifyCommandTest, AFileThatCannotBeReadGetsEmptyFieldsAndFailsTheRun) {
    const std::string missing = folder_.File("missing.exe");
    const std::string tool = folder_.File("tool.exe");
    EXPECT_EQ(Run({missing, tool}), kExitFailure);
    std::istringstream lines(out_.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, missing + std::string(13, '\t'));
    std::getline(lines, line);
    EXPECT_EQ(line.substr(0, tool.size() + 4), tool + "\t1\t1");
    EXPECT_NE(err_.str().find(missing), std::string::npos);
}

TEST_F(IdentifyCommandTest, TimeAddsTheMillisecondsLast) {
    const std::string tool = folder_.File("tool.exe");
    EXPECT_EQ(Run({"--time", tool}), kExitSuccess);
    const std::string out = out_.str();
    EXPECT_EQ(out.substr(out.size() - 7), "\t1.500\n");
}

TEST_F(IdentifyCommandTest, NoFileIsAUsageError) {
    EXPECT_EQ(Run({"--time"}), kExitUsage);
    EXPECT_NE(err_.str().find("usage"), std::string::npos);
    EXPECT_EQ(out_.str(), "");
}

// An image whose version resource claims more bytes than the file holds is read by the parser
// alone: one line of empty fields, and the run succeeds.
TEST_F(IdentifyCommandTest, AVersionResourceClaimingMoreThanTheFileHoldsGivesEmptyFields) {
    for (const std::uint32_t claim : {0x1000u, 0x10000u, 0x200000u, 0x7FFF0000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(claim);
        const std::string crafted = folder_.File("crafted.exe");
        std::ofstream(crafted, std::ios::binary | std::ios::trunc)
            << OversizedVersionClaimImage(claim);
        out_.str("");
        EXPECT_EQ(Run({crafted}), kExitSuccess);
        EXPECT_EQ(out_.str(), crafted + "\t1\t1" + std::string(9, '\t') + FileBaseName(crafted) +
                                  " (64 bits)\t\t\n");
        EXPECT_EQ(err_.str(), "");
    }
}

// Records whether the descriptor reads of one file's facts fall inside one identification, within
// which the real platform reads each file once.
class ScopeRecordingPlatform final : public FakeDetectionPlatform {
public:
    int open = 0;
    int identifications = 0;
    std::vector<int> openAtRead;

    void BeginIdentification() override {
        if (open++ == 0) {
            ++identifications;
        }
    }
    void EndIdentification() override { --open; }
    std::vector<std::string> LoadLines(const std::string& path) override {
        openAtRead.push_back(open);
        return FakeDetectionPlatform::LoadLines(path);
    }
};

TEST(GatherIdentifyFacts, ReadsTheDescriptorWithinOneIdentification) {
    ScopeRecordingPlatform platform;
    platform.Program("C:\\Air\\tool.exe", "").hasResource = false;
    platform.files["C:\\Air\\META-INF\\AIR\\application.xml"] =
        "<name>Air Tool</name>\n<copyright>Air "
        "Ltd</copyright>\n<versionNumber>2.5</versionNumber>\n";
    const IdentifyFacts facts = GatherIdentifyFacts(platform, "C:\\Air\\tool.exe");
    EXPECT_EQ(facts.names.Product, "Air Tool");
    EXPECT_EQ(facts.version, "2.5");
    EXPECT_EQ(platform.identifications, 1);
    EXPECT_EQ(platform.open, 0);
    EXPECT_GE(platform.openAtRead.size(), 3u);
    for (const int open : platform.openAtRead) {
        EXPECT_GT(open, 0);
    }
}

TEST(RunCli, UnknownOrMissingCommandShowsTheUsage) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{"identity", "x"}}) {
        std::ostringstream out;
        std::ostringstream err;
        CliContext context{out, err, [](const std::string& a) { return a; }, [] { return 0.0; }};
        EXPECT_EQ(RunCli(arguments, context), kExitUsage);
        EXPECT_NE(err.str().find("slotvane-cli identify"), std::string::npos);
        EXPECT_EQ(out.str(), "");
    }
}

} // namespace
