// What the Windows client tests share: the scripted server's address, a message pump, and
// transfers started the way the program starts them, recorded for the checks.
#pragma once

#include "update/file_identification.h"
#include "update/http_client.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>

// "127.0.0.1:port" of the test server; empty (and the test fails) when none was started.
inline std::string ServerAddress() {
    const char* address = std::getenv("SLOTVANE_TEST_SERVER");
    return address == nullptr ? "" : address;
}

#define REQUIRE_SERVER(address)                                                                    \
    const std::string address = ServerAddress();                                                   \
    ASSERT_FALSE(address.empty()) << "no test server: run tests/update/hostile_server.py and "     \
                                     "set SLOTVANE_TEST_SERVER (scripts/test does both)"

// Dispatches this thread's messages until `done` holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return false;
        }
        MsgWaitForMultipleObjects(
            0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 20)), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

// One transfer of the table: its client, what it received and when it ended.
struct Transfer {
    std::unique_ptr<IHttpClient> client;
    std::string body = "untouched";
    int completions = 0;
    int error = -1;
    HttpRequestKind kind = HttpRequestKind::Post;
    ULONGLONG started = 0;
    ULONGLONG ended = 0;
};

constexpr int kTestDeadlineSeconds = 2;

inline void Start(Transfer& transfer, IHttpClientOwner& owner, const std::string& url,
                  const std::function<void(HttpClientSettings&)>& adjust = {}) {
    transfer.client = owner.CreateClient();
    ApplyRequestDefaults(*transfer.client);
    transfer.client->Settings().timeoutSeconds = kTestDeadlineSeconds;
    transfer.client->Settings().url = url;
    if (adjust) {
        adjust(transfer.client->Settings());
    }
    transfer.client->SetDestination(&transfer.body);
    transfer.client->SetOnComplete([&transfer](IHttpClient&, HttpRequestKind kind, int error) {
        ++transfer.completions;
        transfer.kind = kind;
        transfer.error = error;
        transfer.ended = GetTickCount64();
    });
    transfer.started = GetTickCount64();
    transfer.client->StartGet();
}

class FixedIdentification final : public IFileIdentification {
public:
    explicit FixedIdentification(DisplayedNames names) : names_(std::move(names)) {}
    DisplayedNames DisplayedFileInfo(const std::string&) override { return names_; }
    std::string FileVersion(const std::string&) override { return "2.1.0.5"; }

private:
    DisplayedNames names_;
};
