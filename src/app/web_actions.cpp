#include "app/web_actions.h"

#include "identify/string_helpers.h"
#include "memory/module_scan.h"
#include "update/file_grabber.h"
#include "update/server_address.h"
#include "util/ini_text.h"
#include "util/url_encode.h"

#include "slotvane_config.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::size_t kVendorRow = 2;
constexpr std::size_t kPartNumberRow = 3;
constexpr std::size_t kMaxHostNameLength = 253;
constexpr std::size_t kMaxHostLabelLength = 63;
constexpr unsigned long kMaxPort = 65535;

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

// Dot-separated labels of letters, digits and inner hyphens (an IPv4 address is one too).
bool IsHostName(std::string_view host) {
    if (host.empty() || host.size() > kMaxHostNameLength) {
        return false;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(host.find('.', start), host.size());
        const std::string_view label = host.substr(start, end - start);
        if (label.empty() || label.size() > kMaxHostLabelLength || label.front() == '-' ||
            label.back() == '-') {
            return false;
        }
        for (const char c : label) {
            if (!IsLetter(c) && !IsDigit(c) && c != '-') {
                return false;
            }
        }
        if (end == host.size()) {
            return true;
        }
        start = end + 1;
    }
}

// "[...]" holding hexadecimal digits, colons and the dots of an embedded IPv4 address.
bool IsIpv6Literal(std::string_view host) {
    if (host.size() < 4 || host.front() != '[' || host.back() != ']') {
        return false;
    }
    const std::string_view inner = host.substr(1, host.size() - 2);
    if (inner.find(':') == std::string_view::npos) {
        return false;
    }
    for (const char c : inner) {
        if (!IsHexDigit(c) && c != ':' && c != '.') {
            return false;
        }
    }
    return true;
}

bool IsPort(std::string_view port) {
    if (port.empty() || port.size() > 5) {
        return false;
    }
    unsigned long value = 0;
    for (const char c : port) {
        if (!IsDigit(c)) {
            return false;
        }
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    return value >= 1 && value <= kMaxPort;
}

// Host, then an optional ":" and port; a user name ("user@host") is refused.
bool IsAuthority(std::string_view authority) {
    std::string_view host = authority;
    std::optional<std::string_view> port;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) {
            return false;
        }
        host = authority.substr(0, close + 1);
        const std::string_view rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                return false;
            }
            port = rest.substr(1);
        }
        if (!IsIpv6Literal(host)) {
            return false;
        }
    } else {
        const std::size_t colon = authority.find(':');
        if (colon != std::string_view::npos) {
            host = authority.substr(0, colon);
            port = authority.substr(colon + 1);
        }
        if (!IsHostName(host)) {
            return false;
        }
    }
    return !port || IsPort(*port);
}

// Path, query and fragment: the unreserved characters, the sub-delimiters, ":", "@", "/", "?",
// "#", and "%" with two hexadecimal digits.
bool IsAddressTail(std::string_view tail) {
    constexpr std::string_view kAllowed = "-._~!$&'()*+,;=:@/?#";
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const char c = tail[i];
        if (c == '%') {
            if (i + 2 >= tail.size() || !IsHexDigit(tail[i + 1]) || !IsHexDigit(tail[i + 2])) {
                return false;
            }
            i += 2;
        } else if (!IsLetter(c) && !IsDigit(c) && kAllowed.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::string RowValue(const SlotPanelState& panel, std::size_t row) {
    return row < panel.rows.size() ? panel.rows[row].value : std::string();
}

std::string WithoutEvery(std::string text, std::string_view part) {
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
        text.erase(at, part.size());
    }
    return text;
}

} // namespace

std::string LinkListAddress(const std::string& serverHost) {
    return ServerRoot(serverHost) + config::kLinkListPath;
}

std::string MoreMemoryAddress(const std::string& serverHost) {
    return ServerRoot(serverHost) + "/slotvane";
}

std::string DriversPageAddress(const std::string& serverHost) {
    return ServerRoot(serverHost) + "/veyra/drivers.php";
}

std::string DownloadPageAddress() {
    return config::kHomeUrl;
}

bool IsOpenableWebAddress(std::string_view address) {
    if (address.size() > kMaxWebAddressLength) {
        return false;
    }
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            return false;
        }
    }
    std::string_view rest;
    if (StartsNoCase(address, "http://")) {
        rest = address.substr(7);
    } else if (StartsNoCase(address, "https://")) {
        rest = address.substr(8);
    } else {
        return false;
    }
    const std::size_t end = std::min(rest.find_first_of("/?#"), rest.size());
    return IsAuthority(rest.substr(0, end)) && IsAddressTail(rest.substr(end));
}

std::string LinkFromList(std::string_view linkListText, std::string_view key,
                         const std::string& fallback) {
    const std::string value = ReadIniValue(linkListText, "links", key, "");
    // A value of fewer than two characters counts as absent, and so does one the shell must not
    // be given.
    return value.size() >= 2 && IsOpenableWebAddress(value) ? value : fallback;
}

std::string GetLink(const std::string& key, IAppPlatform& platform, const std::string& serverHost) {
    const std::string fallback = MoreMemoryAddress(serverHost);
    const std::optional<std::string> text = platform.ReadSmallFile(
        platform.UserDataFolder() + config::kLinkListFile, kLinkListMaxBytes);
    return text ? LinkFromList(*text, key, fallback) : fallback;
}

std::string ModuleSearchText(const SlotPanelState& panel) {
    // Letter case as written: only "N/A" itself is the scan's mark for an unknown maker.
    const std::string vendor = WithoutEvery(RowValue(panel, kVendorRow), "N/A");
    return Trim(vendor + " " + RowValue(panel, kPartNumberRow));
}

std::string ModuleSearchAddress(const std::string& searchText) {
    return std::string("https://") + config::kSearchHost + "/search?cx=" + config::kSearchEngineId +
           "&q=" + UrlEncode(searchText);
}

void getRAM_btnClick(IAppPlatform& platform, IMainDlgUi& ui, const std::string& serverHost) {
    // A failed open shows nothing: the browser's absence is not the program's error.
    ui.ShellOpen(GetLink("ram", platform, serverHost));
}

void getSpec_btnClick(const MainDlgState& state, int slot, IShell& shell) {
    if (slot < 0 || slot >= kSlotPanelCount) {
        return;
    }
    const SlotPanelState& panel = state.slots[static_cast<std::size_t>(slot)];
    if (!HasPartNumber(panel)) {
        return;
    }
    shell.RunProgram(ModuleSearchAddress(ModuleSearchText(panel)), "", "", kShowNormal);
}

void drivers_btnClick(IAppPlatform& platform, IShell& shell, const std::string& serverHost) {
    const std::string path = platform.ReadMakerRegistryValue("Melvo");
    const bool installed = !path.empty() && platform.FileExistsNonEmpty(path);
    shell.RunProgram(installed ? path : DriversPageAddress(serverHost), "", "", kShowNormal);
}
