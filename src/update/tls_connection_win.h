// TLS under the HTTP client's connection seam: a Schannel connection that decorates the socket
// connection, so the request, the framing, the caps and the deadline work as over plain HTTP.
#pragma once

#include "update/http_transfer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The byte stream under TLS: the socket connection, whose waits the handshake can cut short.
class ITlsTransport : public IHttpConnection {
public:
    // Sends and receives end with kTimeout at `untilMs` of GetTickCount64's clock, or at the
    // transfer's deadline if that comes first; none gives the transfer's deadline back.
    virtual void LimitWaits(std::optional<std::uint64_t> untilMs) = 0;
};

// What failed, in the words of the log line that reports a TLS failure (kSecureFailure).
namespace tls_failure {
inline constexpr const char* kCertificate = "证书无效";
inline constexpr const char* kHandshake = "TLS 握手失败";
inline constexpr const char* kProtocol = "TLS 版本过低";
inline constexpr const char* kRecord = "TLS 记录无效";
inline constexpr const char* kCutRecord = "TLS 记录被截断";
inline constexpr const char* kDecryption = "TLS 解密失败";
} // namespace tls_failure

// Runs the handshake with `host` over `transport`, which must end by `handshakeUntilMs`, and
// checks the protocol and the server's certificate for that host name. On success, a connection
// that sends and receives through TLS; otherwise none, with `error` set (kSecureFailure for every
// failure of the handshake, its time limit included) and `failure` naming what failed. Later
// TLS failures of the connection end its calls with kSecureFailure and set `failure` as well, so
// it must outlive the connection.
std::unique_ptr<IHttpConnection> StartTls(std::unique_ptr<ITlsTransport> transport,
                                          const std::string& host, std::uint64_t handshakeUntilMs,
                                          int& error, std::string& failure);
