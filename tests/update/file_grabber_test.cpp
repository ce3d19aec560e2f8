#include "update/file_grabber.h"
#include "util/file_io.h"

#include "fake_http_client.h"
#include "log_entries.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

class FileGrabberTest : public ::testing::Test {
protected:
    TempFolder folder;
    TKLog log{folder.File("test.log"), true, 100};
    FakeTickCounter ticks;
    FakeHttpOwner owner;
    TFileGrabber grabber{&log, ticks};
    int callbacks = 0;
    TFileGrabber::Callback countCalls = [this](TFileGrabber&) { ++callbacks; };
};

TEST_F(FileGrabberTest, PreparesTheClientAsEveryRequestOfTheProgram) {
    grabber.Download("http://h/slotvane/slotvane.ini", folder.File("list.ini"), owner, nullptr);
    const FakeTransfer& transfer = owner.Last();
    EXPECT_TRUE(transfer.started);
    EXPECT_EQ(transfer.settings.userAgent, "Mozilla/5.0");
    EXPECT_EQ(transfer.settings.timeoutSeconds, 10);
    EXPECT_EQ(transfer.settings.proxyHost, "");
    EXPECT_EQ(transfer.settings.proxyPort, 0);
    EXPECT_EQ(transfer.settings.url, "http://h/slotvane/slotvane.ini");
    EXPECT_EQ(transfer.settings.maxBodyBytes, kLinkListMaxBytes);
    EXPECT_EQ(transfer.destination, &grabber.Body());
}

TEST_F(FileGrabberTest, WritesTheBodyLogsTheTimeAndCallsBack) {
    struct Case {
        const char* name;
        std::string body;
        std::string earlier; // content of the target before the download; empty for none
    };
    const Case cases[] = {
        {"ini file", "[links]\r\nram=http://x/\r\n", ""},
        {"404 page replaces the earlier list", "<html>404 Not Found</html>", "[links]\r\n"},
        {"empty body empties the file", "", "[links]\r\n"},
        {"empty body creates the file", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = folder.File("list.ini");
        std::filesystem::remove(target);
        if (!c.earlier.empty()) {
            WriteWholeFile(target, c.earlier);
        }
        callbacks = 0;
        ticks.now = 4294967000u; // the elapsed time survives the counter's wrap
        grabber.Download("http://h/x", target, owner, countCalls);
        ticks.now = 4294967000u + 1234u;
        owner.Complete(HttpRequestKind::Get, 0, c.body);
        EXPECT_EQ(LogEntries(log).back(), LogEntry(1, "文件下载在 1234ms"));
        EXPECT_EQ(ReadFileBytes(target), c.body);
        EXPECT_TRUE(std::filesystem::exists(target));
        EXPECT_FALSE(std::filesystem::exists(target + ".part"));
        EXPECT_EQ(callbacks, 1);
    }
}

TEST_F(FileGrabberTest, EmptyTargetWritesNothingButLogsAndCallsBack) {
    grabber.Download("http://h/x", "", owner, countCalls);
    owner.Complete(HttpRequestKind::Get, 0, "body");
    EXPECT_EQ(LogEntries(log).back(), LogEntry(1, "文件下载在 0ms"));
    EXPECT_EQ(callbacks, 1);
    EXPECT_EQ(grabber.Body(), "body");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1) // the log alone
        << "no file written";
}

TEST_F(FileGrabberTest, AFailureLogsItsCodeAndLeavesTheFile) {
    struct Case {
        HttpRequestKind kind;
        int error;
        std::string failure; // what the client says failed
        std::string line;
        int callbacks;
    };
    const Case cases[] = {
        {HttpRequestKind::Get, 12029, "", "文件下载: 服务器错误 (12029)", 1},
        {HttpRequestKind::Get, -1, "", "文件下载: 服务器错误 (-1)", 1},
        {HttpRequestKind::Post, 0, "", "文件下载: 服务器错误 (0)", 0}, // only a GET calls back
        {HttpRequestKind::Get, 12175, "证书无效", "文件下载: 服务器错误 (12175) 证书无效", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string target = folder.File("list.ini");
        WriteWholeFile(target, "earlier");
        callbacks = 0;
        grabber.Download("http://h/x", target, owner, countCalls);
        owner.Complete(c.kind, c.error, "error page", c.failure);
        EXPECT_EQ(LogEntries(log).back(), LogEntry(2, c.line));
        EXPECT_EQ(ReadFileBytes(target), "earlier");
        EXPECT_EQ(callbacks, c.callbacks);
    }
}

TEST_F(FileGrabberTest, AFailedWriteEndsTheHandlerWithoutCallbackAndKeepsNothingHalfWritten) {
    // The target is a folder: the move over it fails.
    const std::string target = folder.File("folder");
    std::filesystem::create_directory(target);
    grabber.Download("http://h/x", target, owner, countCalls);
    EXPECT_ANY_THROW(owner.Complete(HttpRequestKind::Get, 0, "body"));
    EXPECT_EQ(LogEntries(log).back(), LogEntry(1, "文件下载在 0ms"));
    EXPECT_EQ(callbacks, 0);
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_FALSE(std::filesystem::exists(target + ".part"));
}

TEST_F(FileGrabberTest, DestroyingOrRestartingAbandonsTheTransferInFlight) {
    auto doomed = std::make_unique<TFileGrabber>(&log, ticks);
    doomed->Download("http://h/x", "", owner, countCalls);
    doomed.reset();
    EXPECT_TRUE(owner.Last().destroyed);
    owner.Complete(HttpRequestKind::Get, 0, "late");
    EXPECT_EQ(callbacks, 0);

    grabber.Download("http://h/first", "", owner, countCalls);
    FakeTransfer& first = owner.Last();
    grabber.Download("http://h/second", "", owner, countCalls);
    EXPECT_TRUE(first.destroyed);
    owner.Complete(HttpRequestKind::Get, 0, "second");
    EXPECT_EQ(callbacks, 1);
    EXPECT_EQ(grabber.Body(), "second");
}

TEST_F(FileGrabberTest, ATransferThatCannotStartIsDroppedSilently) {
    owner.failToStart = true;
    grabber.Download("http://h/x", folder.File("list.ini"), owner, countCalls);
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(callbacks, 0);
}

TEST_F(FileGrabberTest, TheCallbackMayStartTheNextDownload) {
    int rounds = 0;
    grabber.Download("http://h/1", "", owner, [&](TFileGrabber& g) {
        if (++rounds == 1) {
            g.Download("http://h/2", "", owner, countCalls);
        }
    });
    owner.Complete(HttpRequestKind::Get, 0, "one");
    owner.Complete(HttpRequestKind::Get, 0, "two");
    EXPECT_EQ(rounds, 1);
    EXPECT_EQ(callbacks, 1);
    EXPECT_EQ(grabber.Body(), "two");
}

} // namespace
