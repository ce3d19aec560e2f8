// The Windows client against the scripted loopback server that scripts/test starts
// (tests/update/hostile_server.py; its address is in SLOTVANE_TEST_SERVER).
#include "update/file_grabber.h"
#include "update/http_client_win.h"
#include "update/veyra_lite.h"

#include "log_entries.h"
#include "support/temp_folder.h"
#include "util/codepage_win.h"
#include "util/fixture_path_win.h"
#include "util/handle_win.h"
#include "windows_transfers.h"

#include <gtest/gtest.h>

#include <winsock2.h>

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kExpectedHeaders =
    "User-Agent: Mozilla/5.0\r\n"
    "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
    "Accept-Language: fr,fr-fr;q=0.8,en-us;q=0.5,en;q=0.3\r\n"
    "Connection: close\r\n"
    "\r\n";

// A port on the loopback interface where nothing listens.
int ClosedPort() {
    WSADATA data{};
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    WSACleanup();
    return ntohs(address.sin_port);
}

TEST(HttpClientWinTest, HostileServerAnswersEndWithinTheDeadline) {
    REQUIRE_SERVER(server);
    using namespace http_error;
    struct Case {
        std::string path; // or a whole address
        int error;
        std::string body; // what the destination holds afterwards
    };
    const std::string untouched = "untouched";
    const std::vector<Case> cases = {
        {"/hello", 0, "hello"},
        {"/chunked", 0, "hello world"},
        {"/never", kTimeout, untouched},
        {"/stall-body", kTimeout, untouched},
        {"/short", kInvalidServerResponse, untouched},
        {"/chunked-cut", kInvalidServerResponse, untouched},
        {"/chunk-zz5", kInvalidServerResponse, untouched},
        {"/extra", 0, "hello"},
        {"/big", kBodyTooLarge, untouched},
        {"/long-header", kHeaderSizeOverflow, untouched},
        {"/many-headers", kHeaderSizeOverflow, untouched},
        {"/loop", kRedirectFailed, untouched},
        {"/redirect/5", 0, "hello"},
        {"/redirect/6", kRedirectFailed, untouched},
        {"/to-file", kUnrecognizedScheme, untouched},
        {"/to-ftp", kUnrecognizedScheme, untouched},
        {"/to-unc", kInvalidUrl, untouched},
        // Relative locations resolve against the answering address; a fragment alone leads back
        // to it, and so round again.
        {"/rel/0/a/b/page?x=1", 0, "/rel/0/a/b/page?y=2"},
        {"/rel/1/a/b/page?x=1", 0, "/rel/1/a/c/d?z=3"},
        {"/rel/2/a/b/page?x=1", 0, "/rel/top"},
        {"/rel/3/a/b/page?x=1", kRedirectFailed, untouched},
        {"/coded-with-length", 0, "abcdef"},
        {"/chunked-bad-length", 0, "hello world"},
        {"/see-other", 0, "hello"},
        {"/permanent", 0, "hello"},
        {"/no-reason", 0, "hello"},
        {"/status/204", 0, ""},
        {"/status/404", 0, "not found"},
        {"/status/500", 0, "broken"},
        {"/status/999", 0, "odd"},
        {"/negative-length", kInvalidServerResponse, untouched},
        {"/duplicate-length", kInvalidServerResponse, untouched},
        {"http://127.0.0.1:" + std::to_string(ClosedPort()) + "/", kCannotConnect, untouched},
    };
    WindowsHttpClientOwner owner;
    // Side by side: the whole table takes one deadline, not one per case.
    std::vector<Transfer> transfers(cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string& path = cases[i].path;
        Start(transfers[i], owner, path[0] == '/' ? "http://" + server + path : path);
    }
    const DWORD margin = 3000;
    PumpUntil(
        [&] {
            for (const Transfer& t : transfers) {
                if (t.completions == 0) {
                    return false;
                }
            }
            return true;
        },
        kTestDeadlineSeconds * 1000 + margin);
    PumpUntil([] { return false; }, 100); // a second completion would arrive now
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].path);
        const Transfer& t = transfers[i];
        ASSERT_EQ(t.completions, 1);
        EXPECT_EQ(t.kind, HttpRequestKind::Get);
        EXPECT_EQ(t.error, cases[i].error);
        EXPECT_EQ(t.body, cases[i].body);
        EXPECT_LE(t.ended - t.started, kTestDeadlineSeconds * 1000u + 1500u);
    }
}

TEST(HttpClientWinTest, SendsTheRequestLineAndHeadersByteForByte) {
    REQUIRE_SERVER(server);
    WindowsHttpClientOwner owner;
    Transfer transfer;
    Start(transfer, owner, "http://" + server + "/echo?a=%20b");
    ASSERT_TRUE(PumpUntil([&] { return transfer.completions > 0; }, 5000));
    EXPECT_EQ(transfer.error, 0);
    EXPECT_EQ(transfer.body,
              "GET /echo?a=%20b HTTP/1.1\r\nHost: " + server + "\r\n" + kExpectedHeaders);

    // Control bytes in a setting never reach the wire.
    Transfer cleaned;
    Start(cleaned, owner, "http://" + server + "/echo", [](HttpClientSettings& settings) {
        settings.userAgent =
            std::string("\tMozilla/\x01\x1B") + "5.0" + std::string(1, '\0') + "\x7F\r\n";
    });
    ASSERT_TRUE(PumpUntil([&] { return cleaned.completions > 0; }, 5000));
    EXPECT_EQ(cleaned.body, "GET /echo HTTP/1.1\r\nHost: " + server + "\r\n" + kExpectedHeaders);
}

// An urgent (out-of-band) byte from the server is no part of the body, and the worker waits for
// the body instead of spinning: the process spends well under a second of processor time on a
// transfer that waits one. (Windows keeps such a byte pending until it is read as urgent data;
// Wine, over Linux sockets, drops it at the next read, so only Windows would spin.)
TEST(HttpClientWinTest, AnOutOfBandByteCostsNoProcessorTime) {
    REQUIRE_SERVER(server);
    const auto processorMs = [] {
        FILETIME created{}, exited{}, kernel{}, user{};
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        const auto ms = [](const FILETIME& time) {
            return ((ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime) / 10000;
        };
        return ms(kernel) + ms(user);
    };
    WindowsHttpClientOwner owner;
    Transfer transfer;
    const ULONGLONG before = processorMs();
    Start(transfer, owner, "http://" + server + "/out-of-band");
    ASSERT_TRUE(PumpUntil([&] { return transfer.completions > 0; }, 5000));
    const ULONGLONG spent = processorMs() - before;
    EXPECT_EQ(transfer.error, 0);
    EXPECT_EQ(transfer.body, "hello");
    EXPECT_GE(transfer.ended - transfer.started, 900u) << "the server pauses a second";
    EXPECT_LT(spent, 300u);
}

TEST(HttpClientWinTest, ADestroyedClientNeverCallsBack) {
    REQUIRE_SERVER(server);
    struct Case {
        const char* path;
        DWORD runningMs; // how long the transfer runs before the client goes
    };
    // Stalled transfers, and answers on their way before any message is dispatched.
    const Case cases[] = {{"/never", 200}, {"/stall-body", 200}, {"/hello", 0}, {"/big", 0}};
    WindowsHttpClientOwner owner;
    std::vector<Transfer> transfers(std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Start(transfers[i], owner, "http://" + server + cases[i].path);
        PumpUntil([] { return false; }, cases[i].runningMs);
        const ULONGLONG before = GetTickCount64();
        transfers[i].client.reset();
        EXPECT_LT(GetTickCount64() - before, 200u) << "destroying never waits for the transfer";
    }
    PumpUntil([] { return false; }, kTestDeadlineSeconds * 1000 + 300);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].path);
        EXPECT_EQ(transfers[i].completions, 0);
        EXPECT_EQ(transfers[i].body, "untouched");
    }
}

TEST(HttpClientWinTest, ACompletionMayDestroyItsClient) {
    REQUIRE_SERVER(server);
    WindowsHttpClientOwner owner;
    std::unique_ptr<IHttpClient> client = owner.CreateClient();
    std::string body;
    int completions = 0;
    client->Settings().url = "http://" + server + "/hello";
    client->SetDestination(&body);
    client->SetOnComplete([&](IHttpClient&, HttpRequestKind, int) {
        ++completions;
        client.reset();
    });
    client->StartGet();
    ASSERT_TRUE(PumpUntil([&] { return completions > 0; }, 5000));
    EXPECT_EQ(client, nullptr);
    EXPECT_EQ(body, "hello");
}

TEST(HttpClientWinTest, AnExceptionInACompletionGoesToTheGuard) {
    REQUIRE_SERVER(server);
    std::string reported;
    WindowsHttpClientOwner owner([&](const std::function<void()>& handler) {
        try {
            handler();
        } catch (const std::exception& error) {
            reported = error.what();
        }
    });
    std::unique_ptr<IHttpClient> client = owner.CreateClient();
    client->Settings().url = "http://" + server + "/hello";
    client->SetOnComplete(
        [](IHttpClient&, HttpRequestKind, int) { throw std::runtime_error("write failed"); });
    client->StartGet();
    ASSERT_TRUE(PumpUntil([&] { return !reported.empty(); }, 5000));
    EXPECT_EQ(reported, "write failed");
}

TEST(HttpClientWinTest, AProgramEndingDuringAStalledTransferExitsAtOnce) {
    REQUIRE_SERVER(server);
    std::wstring command = WideFromGbk("\"" + FixturePath("slotvane_fixture_http_exit.exe") +
                                       "\" http://" + server + "/never");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    const UniqueHandle processHandle(process.hProcess);
    const UniqueHandle threadHandle(process.hThread);
    // The program pumps for 200 ms; a process waiting for its worker would take 30 s.
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 5000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

std::string Fetch(const std::string& url) {
    WindowsHttpClientOwner owner;
    Transfer transfer;
    Start(transfer, owner, url);
    PumpUntil([&] { return transfer.completions > 0; }, 5000);
    return transfer.body;
}

// Runs one update check of a program of that product name against the test server, through the
// real client, and hands the finished checker to inspect.
void RunUpdateCheck(const std::string& server, const std::string& product, TKLog& log,
                    const std::function<void(TVeyraLite&)>& inspect) {
    FixedIdentification identification({product, "Tarvik"});
    TVeyraLite checker(&log, "Slotvane", identification, SystemTickCounter(), server);
    WindowsHttpClientOwner owner;
    int callbacks = 0;
    checker.CheckForUpdate("slotvane.exe", owner, [&](TVeyraLite&) { ++callbacks; });
    ASSERT_TRUE(PumpUntil([&] { return callbacks > 0; }, 5000));
    inspect(checker);
}

TEST(HttpClientWinTest, TheUpdateCheckSendsItsQueryByteForByte) {
    REQUIRE_SERVER(server);
    TempFolder folder;
    TKLog log(folder.File("test.log"), true, 100);
    RunUpdateCheck(server, "内存 Slot vane", log, [](TVeyraLite& checker) {
        EXPECT_TRUE(checker.AnswerValid());
        EXPECT_FALSE(checker.NewerAvailable()); // 1.2.3.5 is older than 2.1.0.5
    });
    const std::string product = "%C4%DA%B4%E6%20Slot%20vane";
    EXPECT_EQ(Fetch("http://" + server + "/recorded?" + product),
              "GET /veyra/check.php?uid=0&ProductName=" + product +
                  "&Company=Tarvik&VH=131073&VL=5 HTTP/1.1\r\nHost: " + server + "\r\n" +
                  kExpectedHeaders);
}

TEST(HttpClientWinTest, ACaptivePortalPageIsNoVersionAndStaysOnOneLogLine) {
    REQUIRE_SERVER(server);
    TempFolder folder;
    TKLog log(folder.File("test.log"), true, 100);
    RunUpdateCheck(server, "portal", log, [](TVeyraLite& checker) {
        EXPECT_FALSE(checker.AnswerValid());
        EXPECT_FALSE(checker.NewerAvailable());
    });
    EXPECT_EQ(LogEntries(log).back(),
              LogEntry(0, "Slotvane 更新自检: 服务器错误 (<html><head><title>Sign in</title></head>"
                          "<body>Wi-Fi login  </body></html>)"));
}

// An error page above the answer's 4 KiB is an answer without a version, like a small one.
TEST(HttpClientWinTest, ALargeErrorPageIsAnAnswerWithoutAVersion) {
    REQUIRE_SERVER(server);
    TempFolder folder;
    TKLog log(folder.File("test.log"), true, 100);
    const std::size_t before = log.Lines().size();
    RunUpdateCheck(server, "large-error-page", log, [](TVeyraLite& checker) {
        EXPECT_FALSE(checker.AnswerValid());
        EXPECT_FALSE(checker.NewerAvailable());
    });
    const std::vector<LogEntry> entries = LogEntries(log);
    ASSERT_EQ(entries.size(), before + 3);
    EXPECT_EQ(entries[before], LogEntry(1, "Slotvane 更新自检: 初始化"));
    EXPECT_EQ(entries[before + 1].first, 1);
    EXPECT_EQ(entries[before + 1].second.rfind("Slotvane 更新自检: 服务器回复 0.0.0.0 in ", 0), 0u);
    std::string page = "<html><body>";
    while (page.size() < 200) {
        page += "Not Found. ";
    }
    EXPECT_EQ(entries[before + 2],
              LogEntry(0, "Slotvane 更新自检: 服务器错误 (" + page.substr(0, 200) + ")"));
}

TEST(HttpClientWinTest, TheGrabberReplacesTheFileOnlyAfterACompleteTransfer) {
    REQUIRE_SERVER(server);
    TempFolder folder;
    TKLog log(folder.File("test.log"), true, 100);
    WindowsHttpClientOwner owner;
    TFileGrabber grabber(&log);
    const std::string target = folder.File("slotvane.ini");
    struct Case {
        std::string path;
        std::string content; // of the target afterwards
        int level;           // of the last log line
    };
    const Case cases[] = {
        {"/hello", "hello", 1},
        {"/short", "hello", 2},
        {"/status/404", "not found", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        int callbacks = 0;
        grabber.Download("http://" + server + c.path, target, owner,
                         [&](TFileGrabber&) { ++callbacks; });
        ASSERT_TRUE(PumpUntil([&] { return callbacks > 0; }, 5000));
        EXPECT_EQ(ReadFileBytes(target), c.content);
        EXPECT_EQ(LogEntries(log).back().first, c.level);
    }
}

} // namespace
