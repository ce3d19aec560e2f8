// One GET from the request to the final body, over a connection seam: the request, the response
// framing, and redirections followed up to kMaxRedirects changes of location.
#pragma once

#include "update/http_client.h"
#include "update/http_request.h"

#include <memory>
#include <string>
#include <string_view>

// An open connection to the server. Every call returns 0 or a completion error code; the
// implementation ends a call with kTimeout once the transfer's deadline has passed.
class IHttpConnection {
public:
    virtual ~IHttpConnection() = default;
    virtual int Send(std::string_view bytes) = 0;
    // Replaces `bytes` with the next bytes received; none means the server closed.
    virtual int Receive(std::string& bytes) = 0;
};

class IHttpConnector {
public:
    virtual ~IHttpConnector() = default;
    // Opens a connection, or sets `error` and returns none.
    virtual std::unique_ptr<IHttpConnection> Connect(const HttpEndpoint& endpoint, int& error) = 0;
};

inline constexpr int kMaxRedirects = 5;

struct HttpTransferResult {
    int error = 0;
    std::string body;         // only on success
    std::string failure = {}; // what failed, in words, when the code alone does not say (TLS)
};

// 301, 302, 303, 307 and 308 with a Location lead on; every other answer is the final one,
// whatever its status. Never raises: an exception on the way (from the connector, a connection
// or the framing) ends the transfer with kInternalError.
HttpTransferResult RunGetTransfer(const HttpClientSettings& settings,
                                  IHttpConnector& connector) noexcept;
