#include "update/veyra_lite.h"

#include "slotvane_config.h"

#include "fake_http_client.h"
#include "log_entries.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

class FakeIdentification final : public IFileIdentification {
public:
    DisplayedNames DisplayedFileInfo(const std::string& path) override {
        asked = path;
        return names;
    }
    std::string FileVersion(const std::string& path) override {
        if (failVersion) {
            throw std::runtime_error("no version");
        }
        asked = path;
        return version;
    }

    DisplayedNames names{"Slotvane", "Tarvik"};
    std::string version = "1.2.3.4";
    bool failVersion = false;
    std::string asked;
};

const std::string kCheck = " 更新自检: ";

class VeyraLiteTest : public ::testing::Test {
protected:
    TempFolder folder;
    TKLog log{folder.File("test.log"), true, 100};
    FakeTickCounter ticks;
    FakeHttpOwner owner;
    FakeIdentification identification;
    TVeyraLite checker{&log, "Slotvane", identification, ticks, "127.0.0.1:8080"};
    int callbacks = 0;
    TVeyraLite::Callback countCalls = [this](TVeyraLite&) { ++callbacks; };
};

TEST_F(VeyraLiteTest, SendsProductCompanyAndVersionInTheQuery) {
    struct Case {
        DisplayedNames names;
        std::string version;
        std::string query;
    };
    const Case cases[] = {
        {{"Slotvane", "Tarvik"},
         "1.2.3.4",
         "&ProductName=Slotvane&Company=Tarvik&VH=65538&VL=196612"},
        {{"Slotvane", "Tarvik"}, "2.1.0.5", "&ProductName=Slotvane&Company=Tarvik&VH=131073&VL=5"},
        {{"Slotvane", "Tarvik"}, "0.9.0.0", "&ProductName=Slotvane&Company=Tarvik&VH=9&VL=0"},
        {{"内存 Tool", "A&B=C"},
         "65535.65535.1.2",
         "&ProductName=%C4%DA%B4%E6%20Tool&Company=A%26B%3DC&VH=4294967295&VL=65538"},
        {{"", ""}, "", "&ProductName=&Company=&VH=0&VL=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        identification.names = c.names;
        identification.version = c.version;
        checker.CheckForUpdate("C:\\Program Files\\Slotvane\\slotvane.exe", owner, nullptr);
        EXPECT_EQ(identification.asked, "C:\\Program Files\\Slotvane\\slotvane.exe");
        EXPECT_EQ(owner.Last().settings.url,
                  "http://127.0.0.1:8080/veyra/check.php?uid=0" + c.query);
        EXPECT_EQ(owner.Last().settings.timeoutSeconds, 10);
        EXPECT_EQ(owner.Last().settings.accept,
                  "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
        EXPECT_EQ(owner.Last().settings.maxBodyBytes, kUpdateAnswerMaxBytes);
        EXPECT_EQ(owner.Last().settings.bodyOverflow, HttpBodyOverflow::KeepHead);
        EXPECT_TRUE(owner.Last().started);
    }
}

TEST_F(VeyraLiteTest, ReadsTheAnswerComparesLogsAndCallsBack) {
    struct Case {
        const char* name;
        std::string answer;
        bool valid;
        bool newer;
        std::string version; // as the reply line shows it
        bool detailLine;
    };
    const Case cases[] = {
        {"newer", "1.2.3.5", true, true, "1.2.3.5", false},
        {"equal", "1.2.3.4", true, false, "1.2.3.4", false},
        {"older", "1.2.2.9", true, false, "1.2.2.9", false},
        {"newer major", "2.0", true, true, "2.0.0.0", false},
        {"trailing line break", "1.2.3.5\n", true, false, "1.2.3.0", false},
        {"empty", "", false, false, "0.0.0.0", true},
        {"html page", "<html><body>Log in</body></html>", false, false, "0.0.0.0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        callbacks = 0;
        ticks.now = 100;
        checker.CheckForUpdate("me.exe", owner, countCalls);
        EXPECT_TRUE(checker.Busy());
        const std::size_t before = LogEntries(log).size();
        ticks.now = 175;
        owner.Complete(HttpRequestKind::Get, 0, c.answer);
        EXPECT_FALSE(checker.Busy());
        EXPECT_EQ(checker.AnswerValid(), c.valid);
        EXPECT_EQ(checker.NewerAvailable(), c.newer);
        EXPECT_EQ(callbacks, 1);
        const auto entries = LogEntries(log);
        ASSERT_EQ(entries.size(), before + (c.detailLine ? 2 : 1));
        EXPECT_EQ(entries[before],
                  LogEntry(1, "Slotvane" + kCheck + "服务器回复 " + c.version + " in 75ms"));
        if (c.detailLine) {
            EXPECT_EQ(entries[before + 1], LogEntry(0, "Slotvane" + kCheck + "服务器错误 (" +
                                                           LogSafeAnswer(c.answer) + ")"));
        }
    }
}

TEST_F(VeyraLiteTest, StartsWithAnInformationLineAndFailuresLogTheirCode) {
    checker.CheckForUpdate("me.exe", owner, countCalls);
    EXPECT_EQ(LogEntries(log).back(), LogEntry(1, "Slotvane" + kCheck + "初始化"));
    owner.Complete(HttpRequestKind::Get, 12002, "ignored");
    EXPECT_EQ(LogEntries(log).back(), LogEntry(2, "Slotvane" + kCheck + "服务器错误 (12002)"));
    EXPECT_FALSE(checker.Busy());
    EXPECT_FALSE(checker.AnswerValid());
    EXPECT_FALSE(checker.NewerAvailable());
    EXPECT_EQ(callbacks, 1);

    checker.CheckForUpdate("me.exe", owner, countCalls);
    owner.Complete(HttpRequestKind::Post, 0, "9.9.9.9"); // not a GET: a failure, still reported
    EXPECT_EQ(LogEntries(log).back(), LogEntry(2, "Slotvane" + kCheck + "服务器错误 (0)"));
    EXPECT_FALSE(checker.NewerAvailable());
    EXPECT_EQ(callbacks, 2);

    checker.CheckForUpdate("me.exe", owner, countCalls);
    owner.Complete(HttpRequestKind::Get, 12175, "", "TLS 握手失败");
    EXPECT_EQ(LogEntries(log).back(),
              LogEntry(2, "Slotvane" + kCheck + "服务器错误 (12175) TLS 握手失败"));
    EXPECT_EQ(callbacks, 3);
}

TEST_F(VeyraLiteTest, ANewCheckClearsTheResultsOfTheLast) {
    checker.CheckForUpdate("me.exe", owner, countCalls);
    owner.Complete(HttpRequestKind::Get, 0, "9.0.0.0");
    ASSERT_TRUE(checker.NewerAvailable());
    checker.CheckForUpdate("me.exe", owner, countCalls);
    EXPECT_TRUE(checker.Busy());
    EXPECT_FALSE(checker.NewerAvailable());
    EXPECT_FALSE(checker.AnswerValid());
}

TEST_F(VeyraLiteTest, ACheckThatCannotStartStaysBusyAndCallsNothing) {
    owner.failToStart = true;
    checker.CheckForUpdate("me.exe", owner, countCalls);
    EXPECT_TRUE(checker.Busy());
    EXPECT_EQ(LogEntries(log).size(), 1u); // the start line only
    EXPECT_EQ(callbacks, 0);
}

TEST_F(VeyraLiteTest, AVersionThatCannotBeDetectedEndsTheCheckBeforeAnyRequest) {
    identification.failVersion = true;
    EXPECT_THROW(checker.CheckForUpdate("me.exe", owner, countCalls), std::runtime_error);
    EXPECT_TRUE(checker.Busy());
    EXPECT_TRUE(owner.transfers.empty());
}

TEST_F(VeyraLiteTest, ASecondCheckOrDestructionAbandonsTheFirst) {
    checker.CheckForUpdate("me.exe", owner, countCalls);
    FakeTransfer& first = owner.Last();
    checker.CheckForUpdate("me.exe", owner, countCalls);
    EXPECT_TRUE(first.destroyed);
    owner.Complete(HttpRequestKind::Get, 0, "1.2.3.5");
    EXPECT_EQ(callbacks, 1);

    auto doomed = std::make_unique<TVeyraLite>(&log, "Slotvane", identification, ticks, "h");
    doomed->CheckForUpdate("me.exe", owner, countCalls);
    doomed.reset();
    owner.Complete(HttpRequestKind::Get, 0, "1.2.3.5");
    EXPECT_EQ(callbacks, 1);
}

TEST_F(VeyraLiteTest, UsesTheMakersServerByDefault) {
    TVeyraLite fromConfig(&log, "Slotvane", identification, ticks);
    fromConfig.CheckForUpdate("me.exe", owner, nullptr);
    EXPECT_EQ(owner.Last().settings.url.rfind("http://" + std::string(config::kServerHost) +
                                                  "/veyra/check.php?uid=0&ProductName=",
                                              0),
              0u);
}

TEST(LogSafeAnswerTest, KeepsServerTextOnOneShortLine) {
    struct Case {
        std::string answer;
        std::string logged;
    };
    const Case cases[] = {
        {"1.2.3.5\r\n", "1.2.3.5  "},
        {"a\nb\tc\x1b[31md\x7f", "a b c [31md "},
        {std::string(300, 'x'), std::string(200, 'x')},
        // A double-byte character that would straddle the cut is left out whole.
        {std::string(199, 'x') + "内", std::string(199, 'x')},
        {std::string(198, 'x') + "内", std::string(198, 'x') + "内"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LogSafeAnswer(c.answer), c.logged);
    }
}

} // namespace
