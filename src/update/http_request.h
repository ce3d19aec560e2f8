// The request the HTTP client sends.
#pragma once

#include "update/http_client.h"
#include "update/http_url.h"

#include <string>

// The head of a GET of the address: the request line with the configured HTTP version, then
// Host, User-Agent, Accept, Accept-Language (each only when set) and "Connection: close", since
// every transfer uses its own connection. Through a proxy the request line carries the whole
// address, and a proxy user name adds basic proxy credentials. Line breaks inside a setting are
// dropped, so a setting cannot add header lines.
std::string BuildGetRequest(const HttpClientSettings& settings, const HttpUrl& url);

// Where the connection goes: the proxy when one is set, the address's host otherwise. A secure
// address always goes straight to its host (there is no tunnel through a proxy), whose name the
// TLS layer announces and checks the certificate against.
struct HttpEndpoint {
    std::string host;
    int port = 80;
    bool secure = false;
};
HttpEndpoint ConnectionEndpoint(const HttpClientSettings& settings, const HttpUrl& url);
