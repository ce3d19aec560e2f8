// Addresses the HTTP client can reach, and where a redirection leads.
#pragma once

#include <optional>
#include <string>
#include <variant>

struct HttpUrl {
    std::string host; // without brackets for an IPv6 literal
    int port = 80;
    std::string target; // path and query, never empty; the fragment is dropped
};

// Parses an absolute "http://" address (scheme in any case). Empty for anything else: another
// scheme, no host, a bad port, blanks, control characters or backslashes.
std::optional<HttpUrl> ParseHttpUrl(const std::string& url);

// "host" or "host:port" as the Host header and an absolute address spell it.
std::string HostAndPort(const HttpUrl& url);
std::string ToText(const HttpUrl& url);

// A redirection leads to the address of its Location, or ends the transfer with an error code.
using RedirectOutcome = std::variant<HttpUrl, int>;

// Resolves a Location value against the address that answered it: absolute "http://" addresses,
// "//host/path", "/path" and relative paths are followed; "https://" needs a secure transport
// (kSecureFailure); any other scheme, a UNC path or a malformed value ends the transfer
// (kUnrecognizedScheme or kInvalidUrl).
RedirectOutcome ResolveRedirect(const HttpUrl& current, const std::string& location);
