#include "update/tls_record.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Header(unsigned type, unsigned major, unsigned minor, unsigned length) {
    return {static_cast<char>(type), static_cast<char>(major), static_cast<char>(minor),
            static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)};
}

TEST(TlsRecordTest, AcceptsTheFourContentTypesOfVersionThreeUpToTheLargestBody) {
    struct Case {
        std::string header;
        bool acceptable;
    };
    const Case cases[] = {
        {Header(20, 3, 3, 1), true},     // change cipher spec
        {Header(21, 3, 3, 2), true},     // alert
        {Header(22, 3, 1, 512), true},   // a handshake in a record marked TLS 1.0, as hellos are
        {Header(23, 3, 4, 18432), true}, // application data at the largest body
        {Header(23, 3, 3, 0), true},
        {Header(23, 3, 3, 18433), false},
        {Header(23, 3, 3, 0xFFFF), false},
        {Header(19, 3, 3, 5), false},
        {Header(24, 3, 3, 5), false}, // heartbeat
        {Header(22, 2, 0, 5), false},
        {Header(22, 4, 0, 5), false},
        {"HTTP/", false}, // a plain HTTP answer
        {Header(22, 3, 3, 5).substr(0, 4), false},
        {Header(22, 3, 3, 5) + "x", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.header));
        EXPECT_EQ(IsAcceptableTlsRecordHeader(c.header), c.acceptable);
    }
}

// Records split anywhere, as the network hands them over: every header is found and checked.
TEST(TlsRecordTest, TheScannerChecksEveryHeaderWhereverTheStreamIsSplit) {
    const std::string good =
        Header(22, 3, 3, 3) + "abc" + Header(23, 3, 3, 0) + Header(23, 3, 3, 2) + "xy";
    const std::string bad = good + Header(23, 3, 3, 0xFFFF) + "zzzz";
    for (std::size_t split = 0; split <= bad.size(); ++split) {
        SCOPED_TRACE(split);
        TlsRecordScanner scanner;
        const bool first = scanner.Feed(bad.substr(0, split));
        const bool second = scanner.Feed(bad.substr(split));
        EXPECT_EQ(first, split < good.size() + kTlsRecordHeaderBytes);
        EXPECT_FALSE(second);
        EXPECT_TRUE(scanner.Failed());
    }
    for (std::size_t split = 0; split <= good.size(); ++split) {
        SCOPED_TRACE(split);
        TlsRecordScanner scanner;
        EXPECT_TRUE(scanner.Feed(good.substr(0, split)));
        EXPECT_TRUE(scanner.Feed(good.substr(split)));
        EXPECT_TRUE(scanner.AtRecordBoundary());
    }
}

// A close between records is an end of stream; one inside a header or a body cuts a record.
TEST(TlsRecordTest, TellsARecordBoundaryFromACutRecord) {
    const std::string record = Header(23, 3, 3, 4) + "data";
    for (std::size_t length = 0; length <= record.size(); ++length) {
        SCOPED_TRACE(length);
        TlsRecordScanner scanner;
        EXPECT_TRUE(scanner.Feed(record.substr(0, length)));
        EXPECT_EQ(scanner.AtRecordBoundary(), length == 0 || length == record.size());
    }
}

TEST(TlsRecordTest, ARefusedHeaderStaysRefused) {
    TlsRecordScanner scanner;
    EXPECT_FALSE(scanner.Feed("HTTP/1.1 200 OK\r\n"));
    EXPECT_FALSE(scanner.Feed(Header(23, 3, 3, 1) + "x"));
    EXPECT_TRUE(scanner.Failed());
}

} // namespace
