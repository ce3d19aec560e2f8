#include "update/http_url.h"

#include "update/http_client.h"

#include <cctype>

namespace {

constexpr int kHttpPort = 80;
constexpr int kHttpsPort = 443;

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Blanks, control characters and backslashes have no place in an address sent on the wire.
bool HasForbiddenByte(const std::string& text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || c == '\\') {
            return true;
        }
    }
    return false;
}

// The scheme of "scheme:rest", if the text starts with one.
std::optional<std::string> SchemeOf(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 ||
        !std::isalpha(static_cast<unsigned char>(text[0]))) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') {
            return std::nullopt;
        }
    }
    return text.substr(0, colon);
}

std::optional<int> ParsePort(const std::string& text) {
    if (text.empty() || text.size() > 5) {
        return std::nullopt;
    }
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

std::string WithoutFragment(const std::string& target) {
    return target.substr(0, target.find('#'));
}

// A path with its "." and ".." segments applied, as a resolved reference has them.
std::string WithoutDotSegments(std::string input) {
    std::string output;
    while (!input.empty()) {
        if (input.rfind("../", 0) == 0) {
            input.erase(0, 3);
        } else if (input.rfind("./", 0) == 0 || input.rfind("/./", 0) == 0) {
            input.erase(0, 2);
        } else if (input == "/.") {
            input = "/";
        } else if (input.rfind("/../", 0) == 0 || input == "/..") {
            input.replace(0, input == "/.." ? 3 : 4, "/");
            const std::size_t slash = output.rfind('/');
            output.erase(slash == std::string::npos ? 0 : slash);
        } else if (input == "." || input == "..") {
            input.clear();
        } else {
            const std::size_t end = input.find('/', 1);
            output += input.substr(0, end);
            input.erase(0, end);
        }
    }
    return output;
}

// A target with the dot segments of its path removed; the query stays as it is.
std::string WithNormalPath(const std::string& target) {
    const std::size_t query = target.find('?');
    const std::string path = WithoutDotSegments(target.substr(0, query));
    return (path.empty() ? "/" : path) + (query == std::string::npos ? "" : target.substr(query));
}

} // namespace

std::optional<HttpUrl> ParseHttpUrl(const std::string& url) {
    if (HasForbiddenByte(url)) {
        return std::nullopt;
    }
    HttpUrl parsed;
    const std::optional<std::string> scheme = SchemeOf(url);
    if (!scheme || url.compare(scheme->size(), 3, "://") != 0) {
        return std::nullopt;
    }
    if (EqualsIgnoringCase(*scheme, "https")) {
        parsed.secure = true;
        parsed.port = kHttpsPort;
    } else if (!EqualsIgnoringCase(*scheme, "http")) {
        return std::nullopt;
    }
    const std::string rest = url.substr(scheme->size() + 3);
    const std::size_t authorityEnd = rest.find_first_of("/?#");
    const std::string authority = rest.substr(0, authorityEnd);
    if (authority.find('@') != std::string::npos) {
        return std::nullopt;
    }
    std::optional<std::string> portText; // the text after the host's colon, if there is one
    if (!authority.empty() && authority[0] == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string::npos) {
            return std::nullopt;
        }
        parsed.host = authority.substr(1, close - 1);
        const std::string after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after[0] != ':') {
                return std::nullopt;
            }
            portText = after.substr(1);
        }
    } else {
        const std::size_t colon = authority.find(':');
        parsed.host = authority.substr(0, colon);
        if (colon != std::string::npos) {
            portText = authority.substr(colon + 1);
        }
    }
    if (parsed.host.empty()) {
        return std::nullopt;
    }
    if (portText) {
        const std::optional<int> port = ParsePort(*portText);
        if (!port) {
            return std::nullopt;
        }
        parsed.port = *port;
    }
    parsed.target =
        authorityEnd == std::string::npos ? "" : WithoutFragment(rest.substr(authorityEnd));
    if (parsed.target.empty() || parsed.target[0] != '/') {
        parsed.target = "/" + parsed.target;
    }
    return parsed;
}

std::string HostAndPort(const HttpUrl& url) {
    std::string host = url.host.find(':') == std::string::npos ? url.host : "[" + url.host + "]";
    if (url.port != (url.secure ? kHttpsPort : kHttpPort)) {
        host += ':' + std::to_string(url.port);
    }
    return host;
}

std::string ToText(const HttpUrl& url) {
    return (url.secure ? "https://" : "http://") + HostAndPort(url) + url.target;
}

RedirectOutcome ResolveRedirect(const HttpUrl& current, const std::string& location) {
    if (location.empty() || HasForbiddenByte(location)) {
        return http_error::kInvalidUrl;
    }
    std::optional<HttpUrl> next;
    if (const std::optional<std::string> scheme = SchemeOf(location)) {
        if (!EqualsIgnoringCase(*scheme, "http") && !EqualsIgnoringCase(*scheme, "https")) {
            return http_error::kUnrecognizedScheme;
        }
        next = ParseHttpUrl(location);
    } else if (location.rfind("//", 0) == 0) {
        next = ParseHttpUrl((current.secure ? "https:" : "http:") + location);
    } else {
        // A reference relative to the current address: its path, query and fragment replace
        // the current ones from the first part it has on.
        const std::string reference = WithoutFragment(location);
        const std::size_t queryStart = current.target.find('?');
        const std::string path = current.target.substr(0, queryStart);
        next = current;
        if (reference.empty()) {
            next->target = current.target;
        } else if (reference[0] == '?') {
            next->target = path + reference;
        } else if (reference[0] == '/') {
            next->target = reference;
        } else {
            next->target = path.substr(0, path.rfind('/') + 1) + reference;
        }
    }
    if (!next) {
        return http_error::kInvalidUrl;
    }
    if (current.secure && !next->secure) {
        return http_error::kRedirectFailed;
    }
    next->target = WithNormalPath(next->target);
    return *next;
}
