// The HTTP client seam: one asynchronous GET whose body lands in the caller's buffer and whose
// outcome arrives as exactly one completion on the user-interface thread.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

enum class HttpRequestKind { Get, Post, Head };

// Completion error codes: 0 is a completed transfer, whatever its HTTP status. The numbers are the
// ones Windows uses for the same failures, so a log line reads the same as elsewhere.
namespace http_error {
inline constexpr int kTimeout = 12002;
inline constexpr int kInternalError = 12004;
inline constexpr int kInvalidUrl = 12005;
inline constexpr int kUnrecognizedScheme = 12006;
inline constexpr int kNameNotResolved = 12007;
inline constexpr int kCannotConnect = 12029;
inline constexpr int kConnectionError = 12030;
inline constexpr int kInvalidServerResponse = 12152;
inline constexpr int kRedirectFailed = 12156;
inline constexpr int kSecureFailure = 12175;
inline constexpr int kHeaderSizeOverflow = 12183;
inline constexpr int kBodyTooLarge = 12184;
} // namespace http_error

// What a body above the caller's cap does to the transfer.
enum class HttpBodyOverflow {
    Fail,     // the transfer fails with kBodyTooLarge
    KeepHead, // the first maxBodyBytes bytes are the body; the rest is never read
};

struct HttpClientSettings {
    std::string userAgent;
    std::string httpVersion = "1.1"; // "1.0" or "1.1"
    std::string accept;
    std::string acceptLanguage;
    int timeoutSeconds = 0; // the whole transfer; 0 or less means no limit
    std::string proxyHost;
    int proxyPort = 0;
    std::string proxyUser;
    std::string proxyPassword;
    std::string url; // absolute "http://" or "https://" address
    // The buffer never grows past this size; bodyOverflow says what a larger body does.
    std::size_t maxBodyBytes = 64 * 1024;
    HttpBodyOverflow bodyOverflow = HttpBodyOverflow::Fail;
};

class IHttpClient;

using HttpCompletion = std::function<void(IHttpClient& client, HttpRequestKind kind, int error)>;

class IHttpClient {
public:
    // Destroying the client abandons a transfer in flight: its completion never comes.
    virtual ~IHttpClient() = default;

    virtual HttpClientSettings& Settings() = 0;
    // Where the body goes; it must outlive the transfer (the owners destroy the client first).
    virtual void SetDestination(std::string* body) = 0;
    virtual void SetOnComplete(HttpCompletion completion) = 0;
    // Starts the GET and returns at once; raises when the transfer cannot start, and then no
    // completion follows. The completion may destroy the client.
    virtual void StartGet() = 0;
    // After a failed transfer whose code alone does not say what failed (kSecureFailure: the
    // certificate, the handshake, a record), those words for the log line; empty otherwise.
    virtual std::string FailureText() const { return {}; }
};

// The failure part of a log line: the code in parentheses, then what failed when the client
// says so ("(12175) 证书无效").
std::string FailureLogText(const IHttpClient& client, int error);

// What the transfers belong to (the main window): it creates the clients, and their completions
// arrive through its thread's message queue.
class IHttpClientOwner {
public:
    virtual ~IHttpClientOwner() = default;
    virtual std::unique_ptr<IHttpClient> CreateClient() = 0;
};

// The settings every client of the program starts with: user agent, HTTP version, Accept,
// Accept-Language and a 3-second time-out, in that order; nothing else changes.
void ApplyRequestDefaults(IHttpClient& client);

// Points the client straight at the server: proxy host, port, user name and password cleared.
void ClearProxy(IHttpClient& client);

// A new client of owner set up for one GET of url, as every transfer of the program is: the
// request defaults, a 10-second time-out, the completion, no proxy, then the address, the body
// cap and the buffer that receives the body. Not started yet.
std::unique_ptr<IHttpClient> NewGetClient(IHttpClientOwner& owner, const std::string& url,
                                          std::size_t maxBodyBytes, std::string& body,
                                          HttpCompletion completion);
