#include "update/http_request.h"

#include <cstddef>
#include <cstdint>

namespace {

// A header value carries no control byte: line breaks would end the header, and the others
// (NUL, tab, escape, DEL) have no business in a value a server reads.
std::string WithoutControlBytes(const std::string& text) {
    std::string clean;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            clean += c;
        }
    }
    return clean;
}

void AddHeader(std::string& head, const char* name, const std::string& value) {
    const std::string clean = WithoutControlBytes(value);
    if (!clean.empty()) {
        head += name;
        head += ": ";
        head += clean;
        head += "\r\n";
    }
}

std::string Base64(const std::string& bytes) {
    constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) {
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        if (i + 2 < bytes.size()) {
            group |= static_cast<unsigned char>(bytes[i + 2]);
        }
        encoded += kAlphabet[(group >> 18) & 0x3F];
        encoded += kAlphabet[(group >> 12) & 0x3F];
        encoded += i + 1 < bytes.size() ? kAlphabet[(group >> 6) & 0x3F] : '=';
        encoded += i + 2 < bytes.size() ? kAlphabet[group & 0x3F] : '=';
    }
    return encoded;
}

} // namespace

std::string BuildGetRequest(const HttpClientSettings& settings, const HttpUrl& url) {
    const bool viaProxy = !settings.proxyHost.empty() && !url.secure;
    const std::string version = settings.httpVersion == "1.0" ? "1.0" : "1.1";
    std::string head = "GET " + (viaProxy ? ToText(url) : url.target) + " HTTP/" + version + "\r\n";
    AddHeader(head, "Host", HostAndPort(url));
    AddHeader(head, "User-Agent", settings.userAgent);
    AddHeader(head, "Accept", settings.accept);
    AddHeader(head, "Accept-Language", settings.acceptLanguage);
    if (viaProxy && !settings.proxyUser.empty()) {
        AddHeader(head, "Proxy-Authorization",
                  "Basic " + Base64(settings.proxyUser + ':' + settings.proxyPassword));
    }
    head += "Connection: close\r\n\r\n";
    return head;
}

HttpEndpoint ConnectionEndpoint(const HttpClientSettings& settings, const HttpUrl& url) {
    if (!settings.proxyHost.empty() && !url.secure) {
        return {settings.proxyHost, settings.proxyPort > 0 ? settings.proxyPort : 80, false};
    }
    return {url.host, url.port, url.secure};
}
