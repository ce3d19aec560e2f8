// The record layer of a TLS stream as the client checks it before the system's TLS code sees a
// byte: that code trusts what it is given more than a stream from the network deserves.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t kTlsRecordHeaderBytes = 5;
// The largest record body TLS 1.2 allows: 2^14 bytes of data and 2048 of expansion.
inline constexpr std::size_t kMaxTlsRecordBodyBytes = 18432;
inline constexpr std::size_t kMaxTlsRecordBytes = kTlsRecordHeaderBytes + kMaxTlsRecordBodyBytes;

// A header a TLS 1.2 or 1.3 peer may send: content type 20 to 23 (change cipher spec, alert,
// handshake, application data), major version 3 and a body of at most kMaxTlsRecordBodyBytes.
// `header` holds exactly kTlsRecordHeaderBytes bytes.
bool IsAcceptableTlsRecordHeader(std::string_view header);

// Follows the records of what a server sends, fed as it arrives.
class TlsRecordScanner {
public:
    // Takes the next bytes of the stream; false once a record header has been refused, for good.
    bool Feed(std::string_view bytes);
    bool Failed() const { return failed_; }
    // True between records: nothing of a record has arrived without all of it.
    bool AtRecordBoundary() const { return header_.empty() && bodyLeft_ == 0; }

private:
    std::string header_; // the bytes of a header that is not complete yet
    std::size_t bodyLeft_ = 0;
    bool failed_ = false;
};
