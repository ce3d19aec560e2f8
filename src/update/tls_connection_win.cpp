#include "update/tls_connection_win.h"

#include "update/tls_record.h"
#include "util/codepage_win.h"

#include <windows.h>

#include <wincrypt.h>

#define SECURITY_WIN32
#include <schannel.h>
#include <security.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Never more than a record that Schannel still needs the end of, and one read beside it.
constexpr std::size_t kMaxBufferedBytes = 2 * kMaxTlsRecordBytes;

constexpr DWORD kContextRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                  ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY |
                                  ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR;

constexpr unsigned char kAlertRecord = 21;

class Credentials {
public:
    Credentials() {
        SCHANNEL_CRED settings{};
        settings.dwVersion = SCHANNEL_CRED_VERSION;
        // The certificate is checked here, after the handshake (CheckServerCertificate): what
        // Schannel checks by itself differs between Windows and Wine. No client certificate.
        settings.dwFlags =
            SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS | SCH_USE_STRONG_CRYPTO;
        // The system's own protocols; anything below TLS 1.2 is refused after the handshake.
        settings.grbitEnabledProtocols = 0;
        wchar_t package[] = UNISP_NAME_W;
        valid_ =
            AcquireCredentialsHandleW(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &settings,
                                      nullptr, nullptr, &handle_, nullptr) == SEC_E_OK;
    }
    Credentials(const Credentials&) = delete;
    Credentials& operator=(const Credentials&) = delete;
    ~Credentials() {
        if (valid_) {
            FreeCredentialsHandle(&handle_);
        }
    }
    bool Valid() const { return valid_; }
    CredHandle* Get() { return &handle_; }

private:
    CredHandle handle_{};
    bool valid_ = false;
};

class SecurityContext {
public:
    SecurityContext() = default;
    SecurityContext(const SecurityContext&) = delete;
    SecurityContext& operator=(const SecurityContext&) = delete;
    ~SecurityContext() {
        if (valid_) {
            DeleteSecurityContext(&handle_);
        }
    }
    bool Valid() const { return valid_; }
    // The handle to give InitializeSecurityContextW as the existing context: none at first.
    CtxtHandle* Existing() { return valid_ ? &handle_ : nullptr; }
    CtxtHandle* Get() { return &handle_; }
    void MarkCreated() { valid_ = true; }

private:
    CtxtHandle handle_{};
    bool valid_ = false;
};

// A token Schannel allocated (ISC_REQ_ALLOCATE_MEMORY).
class ContextBuffer {
public:
    explicit ContextBuffer(const SecBuffer& buffer) : buffer_(buffer) {}
    ContextBuffer(const ContextBuffer&) = delete;
    ContextBuffer& operator=(const ContextBuffer&) = delete;
    ~ContextBuffer() {
        if (buffer_.pvBuffer != nullptr) {
            FreeContextBuffer(buffer_.pvBuffer);
        }
    }
    std::string_view Bytes() const {
        return buffer_.pvBuffer == nullptr
                   ? std::string_view()
                   : std::string_view(static_cast<const char*>(buffer_.pvBuffer), buffer_.cbBuffer);
    }

private:
    SecBuffer buffer_;
};

struct CertificateDeleter {
    void operator()(const CERT_CONTEXT* certificate) const {
        CertFreeCertificateContext(certificate);
    }
};
using UniqueCertificate = std::unique_ptr<const CERT_CONTEXT, CertificateDeleter>;

struct ChainDeleter {
    void operator()(const CERT_CHAIN_CONTEXT* chain) const { CertFreeCertificateChain(chain); }
};
using UniqueChain = std::unique_ptr<const CERT_CHAIN_CONTEXT, ChainDeleter>;

// Dotted digits or an IPv6 literal: such a host name is no server name to announce.
bool IsAddressLiteral(const std::string& host) {
    return host.find(':') != std::string::npos || std::all_of(host.begin(), host.end(), [](char c) {
               return c == '.' || (c >= '0' && c <= '9');
           });
}

bool NegotiatedTls12OrLater(CtxtHandle* context) {
    SecPkgContext_ConnectionInfo info{};
    if (QueryContextAttributesW(context, SECPKG_ATTR_CONNECTION_INFO, &info) != SEC_E_OK) {
        return false;
    }
    return (info.dwProtocol & (SP_PROT_TLS1_2 | SP_PROT_TLS1_3)) != 0;
}

// The chain up to a trusted root, for server authentication, and the SSL policy for the host
// name. Wine's policy passes a chain that ends below any trusted root, so the chain's own trust
// status must be free of errors too. No revocation check: the update server's answers do not
// justify failing when a revocation list cannot be reached.
bool CheckServerCertificate(CtxtHandle* context, const std::wstring& host) {
    const CERT_CONTEXT* received = nullptr;
    if (QueryContextAttributesW(context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &received) != SEC_E_OK ||
        received == nullptr) {
        return false;
    }
    const UniqueCertificate certificate(received);
    char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
    char* usages[] = {serverAuth};
    CERT_CHAIN_PARA chainPara{};
    chainPara.cbSize = sizeof chainPara;
    chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
    chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    const CERT_CHAIN_CONTEXT* built = nullptr;
    if (!CertGetCertificateChain(nullptr, certificate.get(), nullptr, certificate->hCertStore,
                                 &chainPara, 0, nullptr, &built) ||
        built == nullptr) {
        return false;
    }
    const UniqueChain chain(built);
    std::wstring serverName = host;
    HTTPSPolicyCallbackData https{};
    https.cbStruct = sizeof https;
    https.dwAuthType = AUTHTYPE_SERVER;
    https.pwszServerName = serverName.data();
    CERT_CHAIN_POLICY_PARA policyPara{};
    policyPara.cbSize = sizeof policyPara;
    policyPara.pvExtraPolicyPara = &https;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    return CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.get(), &policyPara,
                                            &status) &&
           status.dwError == 0 && chain->TrustStatus.dwErrorStatus == CERT_TRUST_NO_ERROR;
}

class TlsConnection final : public IHttpConnection {
public:
    TlsConnection(std::unique_ptr<ITlsTransport> transport, const std::string& host,
                  std::string& failure)
        : transport_(std::move(transport)), host_(WideFromGbk(host)),
          serverName_(IsAddressLiteral(host) ? std::wstring() : host_), failure_(failure) {}
    TlsConnection(const TlsConnection&) = delete;
    TlsConnection& operator=(const TlsConnection&) = delete;

    ~TlsConnection() override { SendCloseNotify(); }

    // 0 once the handshake and the checks passed; kSecureFailure with failure_ set otherwise.
    int Handshake(std::uint64_t untilMs) {
        if (!credentials_.Valid()) {
            return Fail(tls_failure::kHandshake);
        }
        transport_->LimitWaits(untilMs);
        const int error = RunHandshake(true);
        transport_->LimitWaits(std::nullopt);
        if (error != 0) {
            return error;
        }
        if (!NegotiatedTls12OrLater(context_.Get())) {
            return Fail(tls_failure::kProtocol);
        }
        if (!CheckServerCertificate(context_.Get(), host_)) {
            return Fail(tls_failure::kCertificate);
        }
        if (QueryContextAttributesW(context_.Get(), SECPKG_ATTR_STREAM_SIZES, &sizes_) !=
            SEC_E_OK) {
            return Fail(tls_failure::kHandshake);
        }
        established_ = true;
        return 0;
    }

    int Send(std::string_view bytes) override {
        while (!bytes.empty()) {
            const std::size_t length = std::min<std::size_t>(bytes.size(), sizes_.cbMaximumMessage);
            std::string record(sizes_.cbHeader + length + sizes_.cbTrailer, '\0');
            std::memcpy(record.data() + sizes_.cbHeader, bytes.data(), length);
            SecBuffer buffers[4] = {
                {sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
                {static_cast<unsigned long>(length), SECBUFFER_DATA,
                 record.data() + sizes_.cbHeader},
                {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER,
                 record.data() + sizes_.cbHeader + length},
                {0, SECBUFFER_EMPTY, nullptr},
            };
            SecBufferDesc description{SECBUFFER_VERSION, 4, buffers};
            if (EncryptMessage(context_.Get(), 0, &description, 0) != SEC_E_OK) {
                return Fail(tls_failure::kRecord);
            }
            record.resize(buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer);
            if (const int error = transport_->Send(record)) {
                return error;
            }
            bytes.remove_prefix(length);
        }
        return 0;
    }

    int Receive(std::string& bytes) override {
        bytes.clear();
        while (!closed_) {
            if (!incoming_.empty() && !needMore_) {
                const int error = DecryptNextRecord(bytes);
                if (error != 0 || !bytes.empty()) {
                    return error;
                }
                continue;
            }
            std::string chunk;
            if (const int error = transport_->Receive(chunk)) {
                return error;
            }
            if (chunk.empty()) {
                // The server closed without close_notify. Between records the HTTP framing
                // decides whether the body is whole; inside one the answer was cut.
                if (!incoming_.empty() || !scanner_.AtRecordBoundary()) {
                    return Fail(tls_failure::kCutRecord);
                }
                closed_ = true;
                return 0;
            }
            if (const int error = Take(chunk)) {
                return error;
            }
            needMore_ = false;
        }
        return 0;
    }

private:
    int Fail(const char* what) {
        failure_ = what;
        failed_ = true;
        return http_error::kSecureFailure;
    }

    // Checks every record header of what arrived before Schannel sees it, and keeps it.
    int Take(std::string_view chunk) {
        if (!scanner_.Feed(chunk) || incoming_.size() + chunk.size() > kMaxBufferedBytes) {
            return Fail(tls_failure::kRecord);
        }
        incoming_ += chunk;
        return 0;
    }

    int SendToken(const SecBuffer& token) {
        const ContextBuffer owned(token);
        return owned.Bytes().empty() ? 0 : transport_->Send(owned.Bytes());
    }

    // The InitializeSecurityContextW loop. From the start, or (`fresh` false) to go on with what
    // is in incoming_, as a renegotiation asks.
    int RunHandshake(bool fresh) {
        std::wstring target = serverName_;
        bool needMore = false;
        for (bool first = fresh;; first = false) {
            if (needMore) {
                std::string chunk;
                const int error = transport_->Receive(chunk);
                if (error != 0 || chunk.empty()) {
                    return failed_ ? http_error::kSecureFailure : Fail(tls_failure::kHandshake);
                }
                if (const int taken = Take(chunk)) {
                    return taken;
                }
            }
            SecBuffer in[2] = {
                {static_cast<unsigned long>(incoming_.size()), SECBUFFER_TOKEN, incoming_.data()},
                {0, SECBUFFER_EMPTY, nullptr},
            };
            SecBufferDesc inDescription{SECBUFFER_VERSION, 2, in};
            SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
            SecBufferDesc outDescription{SECBUFFER_VERSION, 1, out};
            unsigned long attributes = 0;
            const SECURITY_STATUS status = InitializeSecurityContextW(
                credentials_.Get(), context_.Existing(), target.empty() ? nullptr : target.data(),
                kContextRequest, 0, 0, first ? nullptr : &inDescription, 0, context_.Get(),
                &outDescription, &attributes, nullptr);
            if (first && (status == SEC_I_CONTINUE_NEEDED || status == SEC_E_OK)) {
                context_.MarkCreated();
            }
            if (status == SEC_E_INCOMPLETE_MESSAGE) {
                needMore = true;
                continue;
            }
            // SEC_I_INCOMPLETE_CREDENTIALS too: the server asks for a client certificate, which
            // the maker's server has no reason to.
            if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED) {
                ContextBuffer discarded(out[0]);
                return Fail(tls_failure::kHandshake);
            }
            if (const int error = SendToken(out[0])) {
                return failed_ ? error : Fail(tls_failure::kHandshake);
            }
            if (!first) {
                // What Schannel did not use belongs to the next step or to the first records.
                incoming_ = in[1].BufferType == SECBUFFER_EXTRA
                                ? incoming_.substr(incoming_.size() - in[1].cbBuffer)
                                : std::string();
            }
            if (status == SEC_E_OK) {
                needMore_ = false;
                return 0;
            }
            needMore = incoming_.empty();
        }
    }

    // Decrypts the record at the start of incoming_ into `bytes` (none for a record without
    // data). Sets needMore_ when the record is not all there.
    int DecryptNextRecord(std::string& bytes) {
        const auto recordType = static_cast<unsigned char>(incoming_[0]);
        SecBuffer buffers[4] = {
            {static_cast<unsigned long>(incoming_.size()), SECBUFFER_DATA, incoming_.data()},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr},
        };
        SecBufferDesc description{SECBUFFER_VERSION, 4, buffers};
        const SECURITY_STATUS status = DecryptMessage(context_.Get(), &description, 0, nullptr);
        if (status == SEC_E_INCOMPLETE_MESSAGE) {
            needMore_ = true;
            return 0;
        }
        if (status == SEC_I_CONTEXT_EXPIRED) {
            // Windows: the server's close_notify.
            closed_ = true;
            incoming_.clear();
            return 0;
        }
        if (status != SEC_E_OK && status != SEC_I_RENEGOTIATE) {
            return Fail(tls_failure::kDecryption);
        }
        std::string extra;
        for (const SecBuffer& buffer : buffers) {
            if (buffer.BufferType == SECBUFFER_DATA) {
                bytes.assign(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer);
            } else if (buffer.BufferType == SECBUFFER_EXTRA) {
                extra = incoming_.substr(incoming_.size() - buffer.cbBuffer);
            }
        }
        incoming_ = std::move(extra);
        if (status == SEC_I_RENEGOTIATE) {
            // Windows 11 hands TLS 1.3 session tickets back this way: the bytes after the record
            // go into the handshake call, which ends at once when there is nothing to exchange.
            return RunHandshake(false);
        }
        if (bytes.empty() && recordType == kAlertRecord) {
            // Wine: the server's close_notify decrypts to success without data.
            closed_ = true;
            incoming_.clear();
        }
        return 0;
    }

    // Tells the server the connection ends (close_notify), when it still can be told.
    void SendCloseNotify() noexcept {
        if (!established_ || failed_) {
            return;
        }
        DWORD shutdown = SCHANNEL_SHUTDOWN;
        SecBuffer control[1] = {{sizeof shutdown, SECBUFFER_TOKEN, &shutdown}};
        SecBufferDesc controlDescription{SECBUFFER_VERSION, 1, control};
        if (ApplyControlToken(context_.Get(), &controlDescription) != SEC_E_OK) {
            return;
        }
        std::wstring target = serverName_;
        SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
        SecBufferDesc outDescription{SECBUFFER_VERSION, 1, out};
        unsigned long attributes = 0;
        const SECURITY_STATUS status = InitializeSecurityContextW(
            credentials_.Get(), context_.Get(), target.empty() ? nullptr : target.data(),
            kContextRequest, 0, 0, nullptr, 0, context_.Get(), &outDescription, &attributes,
            nullptr);
        const ContextBuffer token(out[0]);
        if (status == SEC_E_OK && !token.Bytes().empty()) {
            try {
                transport_->Send(token.Bytes());
            } catch (...) {
                // The connection ends anyway; the server sees a close without close_notify.
            }
        }
    }

    std::unique_ptr<ITlsTransport> transport_;
    std::wstring host_;
    std::wstring serverName_; // empty for an address literal: no server name is announced
    std::string& failure_;
    Credentials credentials_;
    SecurityContext context_;
    SecPkgContext_StreamSizes sizes_{};
    TlsRecordScanner scanner_;
    std::string incoming_; // received, checked, not yet used by Schannel
    bool needMore_ = false;
    bool established_ = false;
    bool failed_ = false;
    bool closed_ = false;
};

} // namespace

std::unique_ptr<IHttpConnection> StartTls(std::unique_ptr<ITlsTransport> transport,
                                          const std::string& host, std::uint64_t handshakeUntilMs,
                                          int& error, std::string& failure) {
    auto connection = std::make_unique<TlsConnection>(std::move(transport), host, failure);
    error = connection->Handshake(handshakeUntilMs);
    if (error != 0) {
        return nullptr;
    }
    return connection;
}
