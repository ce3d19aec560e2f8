#include "update/http_client.h"
#include "update/http_url.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>
#include <variant>

namespace {

struct RedirectCase {
    std::string location;
    std::string next; // empty when the transfer ends
    int error;
};

// Each location resolved against the current address: the next address, or the error that ends
// the transfer.
template <std::size_t N>
void ExpectRedirects(const HttpUrl& current, const RedirectCase (&cases)[N]) {
    for (const RedirectCase& c : cases) {
        SCOPED_TRACE(c.location);
        const RedirectOutcome outcome = ResolveRedirect(current, c.location);
        if (c.next.empty()) {
            ASSERT_TRUE(std::holds_alternative<int>(outcome));
            EXPECT_EQ(std::get<int>(outcome), c.error);
        } else {
            ASSERT_TRUE(std::holds_alternative<HttpUrl>(outcome));
            EXPECT_EQ(ToText(std::get<HttpUrl>(outcome)), c.next);
        }
    }
}

TEST(HttpUrlTest, ParsesHttpAndHttpsAddressesOnly) {
    struct Case {
        std::string url;
        bool valid;
        std::string host;
        int port;
        std::string target;
        bool secure = false;
    };
    const Case cases[] = {
        {"http://www.example.com/a/b.ini", true, "www.example.com", 80, "/a/b.ini"},
        {"HTTP://Host:8080", true, "Host", 8080, "/"},
        {"http://127.0.0.1:5/check.php?uid=0&x=%20#frag", true, "127.0.0.1", 5,
         "/check.php?uid=0&x=%20"},
        {"http://h?q=1", true, "h", 80, "/?q=1"},
        {"http://[::1]:81/x", true, "::1", 81, "/x"},
        {"https://h/", true, "h", 443, "/", true},
        {"HTTPS://h:8443?q", true, "h", 8443, "/?q", true},
        {"https://[::1]/x", true, "::1", 443, "/x", true},
        {"https:/h/", false, "", 0, ""},
        {"https://", false, "", 0, ""},
        {"httpss://h/", false, "", 0, ""},
        {"ftp://h/", false, "", 0, ""},
        {"http:///path", false, "", 0, ""},
        {"http://h:0/", false, "", 0, ""},
        {"http://h:65536/", false, "", 0, ""},
        {"http://h:/", false, "", 0, ""},
        {"http://h:8x/", false, "", 0, ""},
        {"http://user@h/", false, "", 0, ""},
        {"http://h/a b", false, "", 0, ""},
        {"http://h/a\r\nX: y", false, "", 0, ""},
        {"http://h\\share", false, "", 0, ""},
        {"", false, "", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        const auto parsed = ParseHttpUrl(c.url);
        ASSERT_EQ(parsed.has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(parsed->host, c.host);
            EXPECT_EQ(parsed->port, c.port);
            EXPECT_EQ(parsed->target, c.target);
            EXPECT_EQ(parsed->secure, c.secure);
        }
    }
}

TEST(HttpUrlTest, SpellsHostAndPortAsTheHostHeaderDoes) {
    EXPECT_EQ(HostAndPort(*ParseHttpUrl("http://h/")), "h");
    EXPECT_EQ(HostAndPort(*ParseHttpUrl("http://h:80/")), "h");
    EXPECT_EQ(HostAndPort(*ParseHttpUrl("http://h:8080/")), "h:8080");
    EXPECT_EQ(ToText(*ParseHttpUrl("http://[::1]:9/x")), "http://[::1]:9/x");
    // Each scheme leaves out its own port only.
    EXPECT_EQ(HostAndPort(*ParseHttpUrl("https://h:443/")), "h");
    EXPECT_EQ(HostAndPort(*ParseHttpUrl("https://h:80/")), "h:80");
    EXPECT_EQ(HostAndPort(*ParseHttpUrl("http://h:443/")), "h:443");
    EXPECT_EQ(ToText(*ParseHttpUrl("HTTPS://h/x")), "https://h/x");
}

TEST(HttpUrlTest, ResolvesRedirectionsToHttpAndHttpsAndRefusesOtherSchemes) {
    using namespace http_error;
    const HttpUrl current = *ParseHttpUrl("http://h:81/dir/page.php?a=1");
    const RedirectCase cases[] = {
        {"http://other/x", "http://other/x", 0},
        {"HTTP://other:82", "http://other:82/", 0},
        {"//other/y", "http://other/y", 0},
        {"/root?b=2", "http://h:81/root?b=2", 0},
        {"next.php", "http://h:81/dir/next.php", 0},
        {"https://h/secure", "https://h/secure", 0},
        {"HTTPS://h:8443/a/../b", "https://h:8443/b", 0},
        {"file:///C:/windows/win.ini", "", kUnrecognizedScheme},
        {"ftp://h/file", "", kUnrecognizedScheme},
        {"javascript:alert(1)", "", kUnrecognizedScheme},
        {"\\\\server\\share\\file", "", kInvalidUrl},
        {"/a b", "", kInvalidUrl},
        {"", "", kInvalidUrl},
        {"http://", "", kInvalidUrl},
    };
    ExpectRedirects(current, cases);
}

// Once secure, a transfer stays secure: a plain address is refused however it is spelled, and a
// reference without a scheme keeps https.
TEST(HttpUrlTest, ASecureAddressLeadsOnlyToSecureOnes) {
    using namespace http_error;
    const HttpUrl current = *ParseHttpUrl("https://h/dir/page?a=1");
    const RedirectCase cases[] = {
        {"https://other/x", "https://other/x", 0},
        {"//other:8443/y", "https://other:8443/y", 0},
        {"/root", "https://h/root", 0},
        {"next?b=2", "https://h/dir/next?b=2", 0},
        {"http://h/dir/page?a=1", "", kRedirectFailed},
        {"HTTP://other:443/", "", kRedirectFailed},
        {"ftp://h/x", "", kUnrecognizedScheme},
    };
    ExpectRedirects(current, cases);
}

// The examples of the URI standard (RFC 3986, 5.4), against its base address; the client drops
// fragments and never leaves a target empty.
TEST(HttpUrlTest, ResolvesRelativeRedirectionsAsTheUriStandardDoes) {
    const HttpUrl base = *ParseHttpUrl("http://a/b/c/d;p?q");
    const std::pair<std::string, std::string> cases[] = {
        {"g", "http://a/b/c/g"},
        {"./g", "http://a/b/c/g"},
        {"g/", "http://a/b/c/g/"},
        {"/g", "http://a/g"},
        {"//g", "http://g/"},
        {"?y", "http://a/b/c/d;p?y"},
        {"g?y", "http://a/b/c/g?y"},
        {"#s", "http://a/b/c/d;p?q"},
        {"g#s", "http://a/b/c/g"},
        {"g?y#s", "http://a/b/c/g?y"},
        {";x", "http://a/b/c/;x"},
        {"g;x", "http://a/b/c/g;x"},
        {"g;x?y#s", "http://a/b/c/g;x?y"},
        {".", "http://a/b/c/"},
        {"./", "http://a/b/c/"},
        {"..", "http://a/b/"},
        {"../", "http://a/b/"},
        {"../g", "http://a/b/g"},
        {"../..", "http://a/"},
        {"../../", "http://a/"},
        {"../../g", "http://a/g"},
        {"../../../g", "http://a/g"},
        {"../../../../g", "http://a/g"},
        {"/./g", "http://a/g"},
        {"/../g", "http://a/g"},
        {"g.", "http://a/b/c/g."},
        {".g", "http://a/b/c/.g"},
        {"g..", "http://a/b/c/g.."},
        {"..g", "http://a/b/c/..g"},
        {"./../g", "http://a/b/g"},
        {"./g/.", "http://a/b/c/g/"},
        {"g/./h", "http://a/b/c/g/h"},
        {"g/../h", "http://a/b/c/h"},
        {"g;x=1/./y", "http://a/b/c/g;x=1/y"},
        {"g;x=1/../y", "http://a/b/c/y"},
        {"g?y/./x", "http://a/b/c/g?y/./x"},
        {"g?y/../x", "http://a/b/c/g?y/../x"},
        {"g#s/./x", "http://a/b/c/g"},
        {"g#s/../x", "http://a/b/c/g"},
        {"http://a/b/../g?y/../x", "http://a/g?y/../x"},
        {"//g/./h/../i", "http://g/i"},
    };
    for (const auto& [location, next] : cases) {
        SCOPED_TRACE(location);
        const RedirectOutcome outcome = ResolveRedirect(base, location);
        ASSERT_TRUE(std::holds_alternative<HttpUrl>(outcome));
        EXPECT_EQ(ToText(std::get<HttpUrl>(outcome)), next);
    }
}

} // namespace
