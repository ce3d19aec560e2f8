// Addresses the HTTP client can reach, and where a redirection leads.
#pragma once

#include <optional>
#include <string>
#include <variant>

struct HttpUrl {
    bool secure = false; // "https://": the connection runs over TLS
    std::string host;    // without brackets for an IPv6 literal
    int port = 80;       // 443 by default for a secure address
    std::string target;  // path and query, never empty; the fragment is dropped
};

// Parses an absolute "http://" or "https://" address (scheme in any case). Empty for anything
// else: another scheme, no host, a bad port, blanks, control characters or backslashes.
std::optional<HttpUrl> ParseHttpUrl(const std::string& url);

// "host" or "host:port" as the Host header and an absolute address spell it: the port only when
// it is not the scheme's own.
std::string HostAndPort(const HttpUrl& url);
std::string ToText(const HttpUrl& url);

// A redirection leads to the address of its Location, or ends the transfer with an error code.
using RedirectOutcome = std::variant<HttpUrl, int>;

// Resolves a Location value against the address that answered it: absolute "http://" and
// "https://" addresses, "//host/path" (in the current scheme), "/path" and relative paths are
// followed. Leaving a secure address for a plain one is refused (kRedirectFailed): what came over
// TLS never leads to an answer anyone on the path can change. Any other scheme, a UNC path or a
// malformed value ends the transfer (kUnrecognizedScheme or kInvalidUrl).
RedirectOutcome ResolveRedirect(const HttpUrl& current, const std::string& location);
