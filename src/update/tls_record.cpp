#include "update/tls_record.h"

#include <algorithm>

namespace {

constexpr unsigned kFirstContentType = 20; // change cipher spec
constexpr unsigned kLastContentType = 23;  // application data
constexpr unsigned kMajorVersion = 3;

unsigned ByteAt(std::string_view bytes, std::size_t index) {
    return static_cast<unsigned char>(bytes[index]);
}

} // namespace

bool IsAcceptableTlsRecordHeader(std::string_view header) {
    if (header.size() != kTlsRecordHeaderBytes) {
        return false;
    }
    const unsigned type = ByteAt(header, 0);
    const std::size_t length = ByteAt(header, 3) << 8 | ByteAt(header, 4);
    return type >= kFirstContentType && type <= kLastContentType &&
           ByteAt(header, 1) == kMajorVersion && length <= kMaxTlsRecordBodyBytes;
}

bool TlsRecordScanner::Feed(std::string_view bytes) {
    while (!failed_ && !bytes.empty()) {
        if (bodyLeft_ > 0) {
            const std::size_t taken = std::min(bodyLeft_, bytes.size());
            bodyLeft_ -= taken;
            bytes.remove_prefix(taken);
            continue;
        }
        const std::size_t taken = std::min(kTlsRecordHeaderBytes - header_.size(), bytes.size());
        header_.append(bytes.substr(0, taken));
        bytes.remove_prefix(taken);
        if (header_.size() == kTlsRecordHeaderBytes) {
            failed_ = !IsAcceptableTlsRecordHeader(header_);
            bodyLeft_ = ByteAt(header_, 3) << 8 | ByteAt(header_, 4);
            header_.clear();
        }
    }
    return !failed_;
}
