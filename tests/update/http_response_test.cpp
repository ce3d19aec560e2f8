#include "update/http_client.h"
#include "update/http_response.h"

#include <gtest/gtest.h>

#include <string>

namespace {

enum class Outcome { Complete, Failed, NeedMore };

struct Case {
    const char* name;
    std::string bytes;
    bool closed; // the server closes after the bytes
    Outcome outcome;
    int errorOrStatus; // the error code of a failure, the status otherwise
    std::string body;
};

Outcome OutcomeOf(const HttpResponseReader& reader) {
    if (reader.Complete()) {
        return Outcome::Complete;
    }
    return reader.Failed() ? Outcome::Failed : Outcome::NeedMore;
}

void Check(const Case& c, const HttpResponseReader& reader, const std::string& how) {
    SCOPED_TRACE(std::string(c.name) + ", fed " + how);
    ASSERT_EQ(OutcomeOf(reader), c.outcome);
    if (c.outcome == Outcome::Failed) {
        EXPECT_EQ(reader.Error(), c.errorOrStatus);
        EXPECT_EQ(reader.Body(), "") << "a failure keeps no part of the body";
    } else {
        EXPECT_EQ(reader.Status(), c.errorOrStatus);
        EXPECT_EQ(reader.Body(), c.body);
    }
}

constexpr std::size_t kCap = 64;

// Each case fed whole and byte by byte.
template <std::size_t N>
void CheckAll(const Case (&cases)[N], HttpBodyOverflow overflow) {
    for (const Case& c : cases) {
        HttpResponseReader whole(kCap, overflow);
        whole.Feed(c.bytes);
        if (c.closed) {
            whole.ConnectionClosed();
        }
        Check(c, whole, "whole");

        HttpResponseReader byByte(kCap, overflow);
        for (char b : c.bytes) {
            byByte.Feed(std::string(1, b));
        }
        if (c.closed) {
            byByte.ConnectionClosed();
        }
        Check(c, byByte, "byte by byte");
    }
}

TEST(HttpResponseReaderTest, FramesTheBodyOrFails) {
    using namespace http_error;
    const std::string big(kCap + 1, 'x');
    const Case cases[] = {
        {"length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", false, Outcome::Complete,
         200, "hello"},
        {"bytes beyond the length are dropped",
         "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA", true, Outcome::Complete, 200,
         "hello"},
        {"short body", "HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n0123456789", true,
         Outcome::Failed, kInvalidServerResponse, ""},
        {"short body still open", "HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n0123456789", false,
         Outcome::NeedMore, 200, "0123456789"},
        {"no length: up to the close", "HTTP/1.0 200 OK\r\n\r\nall of it", true, Outcome::Complete,
         200, "all of it"},
        {"empty body", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false, Outcome::Complete,
         200, ""},
        {"bare line feeds", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", false, Outcome::Complete,
         200, "ok"},
        {"no reason phrase", "HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok", false,
         Outcome::Complete, 200, "ok"},
        {"status 999 is a body like any other", "HTTP/1.1 999 Odd\r\nContent-Length: 2\r\n\r\nok",
         false, Outcome::Complete, 999, "ok"},
        {"404 page", "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\n<h1>", false,
         Outcome::Complete, 404, "<h1>"},
        {"204 has no body", "HTTP/1.1 204 No Content\r\n\r\n", false, Outcome::Complete, 204, ""},
        {"interim answer skipped",
         "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", false,
         Outcome::Complete, 200, "ok"},
        {"chunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n6;x=y\r\n "
         "world\r\n0\r\nTrailer: t\r\n\r\n",
         false, Outcome::Complete, 200, "hello world"},
        {"chunked wins over a length",
         "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nTransfer-Encoding: gzip, "
         "Chunked\r\n\r\n2\r\nok\r\n0\r\n\r\n",
         false, Outcome::Complete, 200, "ok"},
        {"another coding beside a length: up to the close",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\nContent-Length: 3\r\n\r\nabcdef", true,
         Outcome::Complete, 200, "abcdef"},
        {"another coding beside a length: open until the close",
         "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nTransfer-Encoding: identity\r\n\r\nabcdef", false,
         Outcome::NeedMore, 200, "abcdef"},
        {"chunked not last: up to the close",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked, gzip\r\nContent-Length: 2\r\n\r\n"
         "2\r\nok\r\n0\r\n\r\n",
         true, Outcome::Complete, 200, "2\r\nok\r\n0\r\n\r\n"},
        {"a malformed length beside chunked is no length",
         "HTTP/1.1 200 OK\r\nContent-Length: -5\r\nContent-Length: 7\r\nTransfer-Encoding: "
         "chunked\r\n\r\n2\r\nok\r\n0\r\n\r\n",
         false, Outcome::Complete, 200, "ok"},
        {"chunked cut mid-chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\na\r\nhel",
         true, Outcome::Failed, kInvalidServerResponse, ""},
        {"chunked cut before the last chunk",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n", true,
         Outcome::Failed, kInvalidServerResponse, ""},
        {"chunk size zz5",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz5\r\nhello\r\n0\r\n\r\n", false,
         Outcome::Failed, kInvalidServerResponse, ""},
        {"chunk size 5zz",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5zz\r\nhello\r\n0\r\n\r\n", false,
         Outcome::Failed, kInvalidServerResponse, ""},
        {"chunk without its line break",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nokXX0\r\n\r\n", false,
         Outcome::Failed, kInvalidServerResponse, ""},
        {"negative length", "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\nhello", false,
         Outcome::Failed, kInvalidServerResponse, ""},
        {"conflicting lengths",
         "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\nhello!", false,
         Outcome::Failed, kInvalidServerResponse, ""},
        {"repeated equal lengths",
         "HTTP/1.1 200 OK\r\nContent-Length: 2\r\ncontent-length: 2\r\n\r\nok", false,
         Outcome::Complete, 200, "ok"},
        {"length above the cap", "HTTP/1.1 200 OK\r\nContent-Length: 65\r\n\r\n", false,
         Outcome::Failed, kBodyTooLarge, ""},
        {"length at the cap", "HTTP/1.1 200 OK\r\nContent-Length: 64\r\n\r\n" + big.substr(1),
         false, Outcome::Complete, 200, big.substr(1)},
        {"unframed body above the cap", "HTTP/1.1 200 OK\r\n\r\n" + big, false, Outcome::Failed,
         kBodyTooLarge, ""},
        {"chunks above the cap",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n40\r\n" + big.substr(1) +
             "\r\n1\r\n",
         false, Outcome::Failed, kBodyTooLarge, ""},
        {"huge chunk size",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffffffffffffffff\r\n", false,
         Outcome::Failed, kBodyTooLarge, ""},
        {"no status line", "<html>hello</html>\r\n\r\n", false, Outcome::Failed,
         kInvalidServerResponse, ""},
        {"two-digit status", "HTTP/1.1 20 OK\r\n\r\n", false, Outcome::Failed,
         kInvalidServerResponse, ""},
        {"header without colon", "HTTP/1.1 200 OK\r\nBroken\r\n\r\n", false, Outcome::Failed,
         kInvalidServerResponse, ""},
        {"folded header", "HTTP/1.1 200 OK\r\nX: a\r\n b\r\n\r\n", false, Outcome::Failed,
         kInvalidServerResponse, ""},
        {"closed before the head ends", "HTTP/1.1 200 OK\r\nContent-Le", true, Outcome::Failed,
         kInvalidServerResponse, ""},
        {"closed without a byte", "", true, Outcome::Failed, kInvalidServerResponse, ""},
        {"header line of 200 KB",
         "HTTP/1.1 200 OK\r\nX: " + std::string(200 * 1024, 'a') + "\r\n\r\n", false,
         Outcome::Failed, kHeaderSizeOverflow, ""},
    };
    CheckAll(cases, HttpBodyOverflow::Fail);
}

// A caller that keeps the first bytes of a body over the cap gets them as a complete body,
// however the body is framed; the rest is never waited for.
TEST(HttpResponseReaderTest, KeepsTheCapsWorthOfALargerBodyWhenAsked) {
    using namespace http_error;
    const std::string big(kCap * 2, 'x');
    const std::string head = big.substr(0, kCap);
    const Case cases[] = {
        {"length above the cap", "HTTP/1.1 404 Not Found\r\nContent-Length: 128\r\n\r\n" + big,
         false, Outcome::Complete, 404, head},
        {"length above the cap, the rest never sent",
         "HTTP/1.1 200 OK\r\nContent-Length: 999999\r\n\r\n" + head, false, Outcome::Complete, 200,
         head},
        {"length above the cap, cut before the cap",
         "HTTP/1.1 200 OK\r\nContent-Length: 999999\r\n\r\nshort", true, Outcome::Failed,
         kInvalidServerResponse, ""},
        {"length at the cap", "HTTP/1.1 200 OK\r\nContent-Length: 64\r\n\r\n" + head, false,
         Outcome::Complete, 200, head},
        {"unframed body above the cap", "HTTP/1.1 500 Error\r\n\r\n" + big, false,
         Outcome::Complete, 500, head},
        {"unframed body below the cap", "HTTP/1.1 200 OK\r\n\r\nsmall", true, Outcome::Complete,
         200, "small"},
        {"one chunk above the cap",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n80\r\n" + big, false,
         Outcome::Complete, 200, head},
        {"chunks reaching past the cap",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3c\r\n" + big.substr(0, 60) +
             "\r\n8\r\nxxxxyyyy",
         false, Outcome::Complete, 200, big.substr(0, 60) + "xxxx"},
        {"chunks filling the cap, then another",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n40\r\n" + head + "\r\n1\r\n", false,
         Outcome::Complete, 200, head},
        {"huge chunk size",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffffffffffffffff\r\n" + big,
         false, Outcome::Complete, 200, head},
        {"malformed huge chunk size",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nfffffffffffffffffffffz\r\n", false,
         Outcome::Failed, kInvalidServerResponse, ""},
    };
    CheckAll(cases, HttpBodyOverflow::KeepHead);
}

TEST(HttpResponseReaderTest, ManyHeadersOverflowTheHead) {
    std::string head = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 20000; ++i) {
        head += "X-" + std::to_string(i) + ": v\r\n";
    }
    HttpResponseReader reader(kCap);
    reader.Feed(head + "\r\n");
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.Error(), http_error::kHeaderSizeOverflow);
}

TEST(HttpResponseReaderTest, KeepsTheLocationOfARedirection) {
    HttpResponseReader reader(kCap);
    reader.Feed("HTTP/1.1 302 Found\r\nLocation:  /next?a=1 \r\nLocation: /other\r\n\r\n");
    ASSERT_TRUE(reader.HeadDone());
    EXPECT_EQ(reader.Status(), 302);
    ASSERT_TRUE(reader.Location());
    EXPECT_EQ(*reader.Location(), "/next?a=1");
}

} // namespace
