// The Windows client over TLS, against the TLS side of the scripted loopback server
// (tests/update/tls_side.py). SLOTVANE_TEST_TLS names the file with that side's ports and its
// test CA, which these tests trust in the machine store of the test prefix while they run.
#include "update/file_grabber.h"
#include "update/http_client_win.h"
#include "update/tls_connection_win.h"
#include "update/veyra_lite.h"

#include "log_entries.h"
#include "support/temp_folder.h"
#include "util/tick_count.h"
#include "windows_transfers.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <wincrypt.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct StoreCloser {
    void operator()(void* store) const { CertCloseStore(store, 0); }
};
using UniqueStore = std::unique_ptr<void, StoreCloser>;

struct CertificateFreer {
    void operator()(const CERT_CONTEXT* certificate) const {
        CertFreeCertificateContext(certificate);
    }
};
using UniqueCertificate = std::unique_ptr<const CERT_CONTEXT, CertificateFreer>;

UniqueStore OpenMachineRootStore() {
    return UniqueStore(
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT"));
}

// The TLS side as the server wrote it down: its ports by name and its CA's certificate.
struct TlsSide {
    std::map<std::string, int> ports;
    std::string caCertificate; // DER
};

// Longer than the plain tests' deadline: Wine reads the machine's root certificates for a
// process's first chain check, which takes a second or more on a busy machine. The handshake gets
// half of it.
constexpr int kTlsDeadlineSeconds = 5;

void WithTlsDeadline(HttpClientSettings& settings) {
    settings.timeoutSeconds = kTlsDeadlineSeconds;
}

TlsSide ReadTlsSide() {
    TlsSide side;
    const char* file = std::getenv("SLOTVANE_TEST_TLS");
    if (file == nullptr) {
        return side;
    }
    std::ifstream lines(file);
    std::string name;
    std::string value;
    while (lines >> name >> value) {
        if (name == "ca") {
            // The server names it as the Linux side sees it; drive Z: is that side under Wine.
            std::ifstream ca("Z:" + value, std::ios::binary);
            side.caCertificate.assign(std::istreambuf_iterator<char>(ca), {});
        } else {
            side.ports[name] = std::stoi(value);
        }
    }
    return side;
}

// Trusts the test CA in the machine ROOT store of the test prefix for the whole run, and takes
// it out at the end; the host's store is never touched. It must come before any test checks a
// certificate chain: Wine reads the trusted roots once per process, at the first chain check.
class TestCaTrust final : public testing::Environment {
public:
    void SetUp() override {
        side_ = ReadTlsSide();
        if (side_.caCertificate.empty()) {
            return;
        }
        const UniqueStore store = OpenMachineRootStore();
        const CERT_CONTEXT* added = nullptr;
        if (store && CertAddEncodedCertificateToStore(
                         store.get(), X509_ASN_ENCODING,
                         reinterpret_cast<const BYTE*>(side_.caCertificate.data()),
                         static_cast<DWORD>(side_.caCertificate.size()),
                         CERT_STORE_ADD_REPLACE_EXISTING, &added)) {
            CertFreeCertificateContext(added);
            trusted_ = CertControlStore(store.get(), 0, CERT_STORE_CTRL_COMMIT, nullptr) != FALSE;
        }
    }

    void TearDown() override {
        if (!trusted_) {
            return;
        }
        const UniqueStore store = OpenMachineRootStore();
        const UniqueCertificate ca(CertCreateCertificateContext(
            X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(side_.caCertificate.data()),
            static_cast<DWORD>(side_.caCertificate.size())));
        if (store && ca) {
            // Deleting frees the context found.
            if (const CERT_CONTEXT* found = CertFindCertificateInStore(
                    store.get(), X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, ca.get(), nullptr)) {
                CertDeleteCertificateFromStore(found);
                CertControlStore(store.get(), 0, CERT_STORE_CTRL_COMMIT, nullptr);
            }
        }
        trusted_ = false;
    }

    bool Trusted() const { return trusted_; }
    const TlsSide& Side() const { return side_; }

private:
    TlsSide side_;
    bool trusted_ = false;
};

// Registered before main, so that it runs before every test; GoogleTest owns it.
const TestCaTrust* const kCaTrust = static_cast<TestCaTrust*>(
    testing::AddGlobalTestEnvironment(std::make_unique<TestCaTrust>().release()));

class HttpsClientWinTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kCaTrust->Trusted())
            << "no TLS side: run tests/update/hostile_server.py with --tls-file and set "
               "SLOTVANE_TEST_TLS (scripts/test does both)";
    }

    static int Port(const std::string& side) { return kCaTrust->Side().ports.at(side); }

    static std::string Address(const std::string& side, const std::string& path) {
        return "https://localhost:" + std::to_string(Port(side)) + path;
    }
};

TEST_F(HttpsClientWinTest, EachFailureEndsWithinTheDeadlineAndSaysWhatFailed) {
    REQUIRE_SERVER(server);
    using namespace http_error;
    struct Case {
        std::string url;
        int error;
        std::string body; // what the destination holds afterwards
        std::string failure;
    };
    const std::string untouched = "untouched";
    const std::vector<Case> cases = {
        {Address("valid", "/hello"), 0, "hello", ""},
        {Address("valid", "/chunked"), 0, "hello world", ""},
        // A body that runs to the end of the connection ends at close_notify.
        {Address("valid", "/until-close"), 0, "hello", ""},
        // The caps and the deadline hold over TLS as they do without.
        {Address("valid", "/big"), kBodyTooLarge, untouched, ""},
        {Address("valid", "/never"), kTimeout, untouched, ""},
        {Address("valid", "/short"), kInvalidServerResponse, untouched, ""},
        {Address("untrusted", "/hello"), kSecureFailure, untouched, tls_failure::kCertificate},
        // Only the server's own certificate, from an issuer nobody knows: a chain that ends
        // below any root.
        {Address("partial-chain", "/hello"), kSecureFailure, untouched, tls_failure::kCertificate},
        {Address("wrong-host", "/hello"), kSecureFailure, untouched, tls_failure::kCertificate},
        {Address("expired", "/hello"), kSecureFailure, untouched, tls_failure::kCertificate},
        // The certificate names localhost, not the address.
        {"https://127.0.0.1:" + std::to_string(Port("valid")) + "/hello", kSecureFailure, untouched,
         tls_failure::kCertificate},
        // Wine offers TLS 1.0 and agrees on it: the check after the handshake refuses it.
        {Address("tls10", "/hello"), kSecureFailure, untouched, tls_failure::kProtocol},
        {Address("plain-answer", "/hello"), kSecureFailure, untouched, tls_failure::kRecord},
        {Address("silent", "/hello"), kSecureFailure, untouched, tls_failure::kHandshake},
        {Address("random-handshake", "/hello"), kSecureFailure, untouched, tls_failure::kHandshake},
        {Address("cut-record", "/hello"), kSecureFailure, untouched, tls_failure::kCutRecord},
        {Address("flipped-bit", "/hello"), kSecureFailure, untouched, tls_failure::kDecryption},
        {Address("longest-length", "/hello"), kSecureFailure, untouched, tls_failure::kRecord},
        // Plain to secure is followed; secure to plain is not.
        {"http://" + server + "/to-https", 0, "hello", ""},
        {Address("valid", "/to-http"), kRedirectFailed, untouched, ""},
    };
    WindowsHttpClientOwner owner;
    std::vector<Transfer> transfers(cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Start(transfers[i], owner, cases[i].url, WithTlsDeadline);
    }
    PumpUntil(
        [&] {
            for (const Transfer& t : transfers) {
                if (t.completions == 0) {
                    return false;
                }
            }
            return true;
        },
        kTlsDeadlineSeconds * 1000 + 3000);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].url);
        const Transfer& t = transfers[i];
        ASSERT_EQ(t.completions, 1);
        EXPECT_EQ(t.error, cases[i].error);
        EXPECT_EQ(t.body, cases[i].body);
        EXPECT_EQ(t.client->FailureText(), cases[i].failure);
        EXPECT_LE(t.ended - t.started, kTlsDeadlineSeconds * 1000u + 1500u);
    }
}

TEST_F(HttpsClientWinTest, SendsTheHostWithItsPortOverTls) {
    WindowsHttpClientOwner owner;
    Transfer transfer;
    Start(transfer, owner, Address("valid", "/echo"), WithTlsDeadline);
    ASSERT_TRUE(PumpUntil([&] { return transfer.completions > 0; }, 10000));
    EXPECT_EQ(transfer.error, 0);
    EXPECT_EQ(
        transfer.body.rfind(
            "GET /echo HTTP/1.1\r\nHost: localhost:" + std::to_string(Port("valid")) + "\r\n", 0),
        0u);
}

TEST_F(HttpsClientWinTest, TheLinkListArrivesOverTlsAndAFailureLeavesTheFile) {
    TempFolder folder;
    TKLog log(folder.File("test.log"), true, 100);
    WindowsHttpClientOwner owner;
    TFileGrabber grabber(&log);
    const std::string target = folder.File("slotvane.ini");
    struct Case {
        std::string side;
        std::string content; // of the target afterwards
        LogEntry line;       // the last log line, when it is known in full
    };
    const Case cases[] = {
        {"valid", "[links]\r\nram=http://127.0.0.1/memory\r\n", {1, ""}},
        {"untrusted",
         "[links]\r\nram=http://127.0.0.1/memory\r\n",
         {2, "文件下载: 服务器错误 (12175) 证书无效"}},
        {"cut-record",
         "[links]\r\nram=http://127.0.0.1/memory\r\n",
         {2, "文件下载: 服务器错误 (12175) TLS 记录被截断"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.side);
        int callbacks = 0;
        grabber.Download(Address(c.side, "/slotvane/slotvane.ini"), target, owner,
                         [&](TFileGrabber&) { ++callbacks; });
        ASSERT_TRUE(PumpUntil([&] { return callbacks > 0; }, 15000));
        EXPECT_EQ(ReadFileBytes(target), c.content);
        if (c.line.second.empty()) {
            EXPECT_EQ(LogEntries(log).back().first, c.line.first);
        } else {
            EXPECT_EQ(LogEntries(log).back(), c.line);
        }
    }
}

TEST_F(HttpsClientWinTest, TheUpdateCheckWorksOverTlsAndLogsWhatFailed) {
    TempFolder folder;
    TKLog log(folder.File("test.log"), true, 100);
    FixedIdentification identification({"Slotvane", "Tarvik"});
    WindowsHttpClientOwner owner;
    struct Case {
        std::string side;
        bool answerValid;
        std::string failureLine; // empty when the check succeeds
    };
    const Case cases[] = {
        {"valid", true, ""},
        {"expired", false, "Slotvane 更新自检: 服务器错误 (12175) 证书无效"},
        {"silent", false, "Slotvane 更新自检: 服务器错误 (12175) TLS 握手失败"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.side);
        TVeyraLite checker(&log, "Slotvane", identification, SystemTickCounter(),
                           "https://localhost:" + std::to_string(Port(c.side)));
        int callbacks = 0;
        checker.CheckForUpdate("slotvane.exe", owner, [&](TVeyraLite&) { ++callbacks; });
        ASSERT_TRUE(PumpUntil([&] { return callbacks > 0; }, 15000));
        EXPECT_EQ(checker.AnswerValid(), c.answerValid);
        if (!c.failureLine.empty()) {
            EXPECT_EQ(LogEntries(log).back(), LogEntry(2, c.failureLine));
        }
    }
}

} // namespace
