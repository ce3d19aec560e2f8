#include "log/log.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// Level words as GBK bytes, spelled out so that the test does not share the code's literals.
const std::string kDetailWord = "\xCF\xEA\xCF\xB8";
const std::string kInfoWord = "\xD0\xC5\xCF\xA2";
const std::string kErrorWord = "\xB4\xED\xCE\xF3";

class FixedClock final : public IClock {
public:
    LocalDateTime Now() const override { return now; }
    LocalDateTime now{2024, 1, 31, 9, 5, 7};
};

std::string Line(const std::string& word, const std::string& stamp, const std::string& text) {
    return word + "\t" + stamp + "\t" + text + "\r\n";
}

class LogTest : public ::testing::Test {
protected:
    TempFolder folder;
    FixedClock clock;
    std::string path = folder.File("Slotvane.log");
};

TEST_F(LogTest, WritesLevelWordStampAndTextNewestFirst) {
    TKLog log(path, false, 10000, clock);
    log.AddLine("\xD5\xFD\xD4\xDA\xBF\xAA\xCA\xBC", 1); // "正在开始"
    clock.now = {2031, 12, 5, 23, 59, 0};
    log.AddLine("second", 2);

    EXPECT_EQ(ReadFileBytes(path),
              Line(kErrorWord, "[31-12-05 23:59:00]", "second") +
                  Line(kInfoWord, "[24-01-31 09:05:07]", "\xD5\xFD\xD4\xDA\xBF\xAA\xCA\xBC"));
    EXPECT_EQ(log.ErrorCount(), 1);
    ASSERT_EQ(log.Lines().size(), 2u);
    EXPECT_EQ(log.Lines()[0], kErrorWord + "\t[31-12-05 23:59:00]\tsecond");
}

TEST_F(LogTest, LevelsDecideWordCountAndWhetherALineIsWritten) {
    struct Case {
        bool verbose;
        int level;
        std::string expectedFile;
        int expectedErrors;
    };
    const std::string stamp = "[24-01-31 09:05:07]";
    const Case cases[] = {
        {false, 0, "", 0},
        {true, 0, Line(kDetailWord, stamp, "x"), 0},
        {false, 1, Line(kInfoWord, stamp, "x"), 0},
        {false, 2, Line(kErrorWord, stamp, "x"), 1},
        {false, 5, Line(kErrorWord, stamp, "x"), 1},
        {true, -3, Line(kDetailWord, stamp, "x"), 0},
        {false, -3, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("verbose " + std::to_string(c.verbose) + ", level " + std::to_string(c.level));
        std::filesystem::remove(path);
        TKLog log(path, c.verbose, 10, clock);
        log.AddLine("x", c.level);
        EXPECT_EQ(ReadFileBytes(path), c.expectedFile);
        EXPECT_EQ(std::filesystem::exists(path), !c.expectedFile.empty());
        EXPECT_EQ(log.ErrorCount(), c.expectedErrors);
    }
}

TEST_F(LogTest, KeepsAtMostMaxLinesDroppingTheOldest) {
    TKLog log(path, false, 3, clock);
    for (const char* text : {"1", "2", "3", "4"}) {
        log.AddLine(text, 1);
    }
    const std::string stamp = "[24-01-31 09:05:07]";
    EXPECT_EQ(ReadFileBytes(path), Line(kInfoWord, stamp, "4") + Line(kInfoWord, stamp, "3") +
                                       Line(kInfoWord, stamp, "2"));
}

TEST_F(LogTest, MaxLinesOfZeroWritesAnEmptyFile) {
    TKLog log(path, false, 0, clock);
    log.AddLine("gone at once", 2);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(ReadFileBytes(path), "");
    EXPECT_EQ(log.ErrorCount(), 1);
}

TEST_F(LogTest, TextIsWrittenUnchangedLineBreaksIncluded) {
    TKLog log(path, false, 10, clock);
    log.AddLine("a\r\nb", 1);
    EXPECT_EQ(ReadFileBytes(path), Line(kInfoWord, "[24-01-31 09:05:07]", "a\r\nb"));
}

TEST_F(LogTest, UnwritableFolderIsIgnoredUntilItExists) {
    const std::filesystem::path missing = folder.Path() / "later";
    const std::string latePath = (missing / "Slotvane.log").string();
    TKLog log(latePath, false, 10, clock);
    log.AddLine("kept in memory", 1);
    EXPECT_FALSE(std::filesystem::exists(latePath));
    EXPECT_EQ(log.Lines().size(), 1u);

    std::filesystem::create_directory(missing);
    log.AddLine("now saved", 1);
    const std::string stamp = "[24-01-31 09:05:07]";
    EXPECT_EQ(ReadFileBytes(latePath),
              Line(kInfoWord, stamp, "now saved") + Line(kInfoWord, stamp, "kept in memory"));
}

TEST_F(LogTest, ANewRunReplacesThePreviousFileWithItsFirstLine) {
    {
        TKLog first(path, false, 10, clock);
        first.AddLine("old run", 1);
        first.AddLine("old run again", 1);
    }
    const std::string previousRun = ReadFileBytes(path);
    TKLog second(path, false, 10, clock);
    EXPECT_EQ(ReadFileBytes(path), previousRun) << "creating the log touches no file";
    second.AddLine("new run", 1);
    EXPECT_EQ(ReadFileBytes(path), Line(kInfoWord, "[24-01-31 09:05:07]", "new run"));
}

TEST(LogAbsent, AddingToANullLogDoesNothing) {
    TKLog* none = nullptr;
    AddLine(none, "nobody listens", 2);
    SUCCEED();
}

} // namespace
