// libFuzzer target for the TLS record check: any bytes as what a server sends, fed whole and fed
// in two pieces split where the input says, must be refused or accepted alike, and a stream the
// scanner accepts holds only acceptable headers at the places its records say. Built and run by
// scripts/fuzz.
#include "update/tls_record.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// The same check, record by record over the whole input: accepted, and whether the input ends
// between records.
struct Walk {
    bool accepted = true;
    bool atBoundary = true;
};

Walk WalkRecords(std::string_view bytes) {
    Walk walk;
    while (!bytes.empty()) {
        if (bytes.size() < kTlsRecordHeaderBytes) {
            walk.atBoundary = false;
            return walk;
        }
        if (!IsAcceptableTlsRecordHeader(bytes.substr(0, kTlsRecordHeaderBytes))) {
            walk.accepted = false;
            return walk;
        }
        const std::size_t length =
            static_cast<unsigned char>(bytes[3]) << 8 | static_cast<unsigned char>(bytes[4]);
        bytes.remove_prefix(kTlsRecordHeaderBytes);
        if (bytes.size() < length) {
            walk.atBoundary = false;
            return walk;
        }
        bytes.remove_prefix(length);
    }
    return walk;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = bytes.empty() ? 0 : data[0] % (bytes.size() + 1);
    TlsRecordScanner whole;
    whole.Feed(bytes);
    TlsRecordScanner pieces;
    pieces.Feed(bytes.substr(0, split));
    pieces.Feed(bytes.substr(split));
    const Walk walk = WalkRecords(bytes);
    if (whole.Failed() != pieces.Failed() || whole.Failed() == walk.accepted ||
        (walk.accepted && (whole.AtRecordBoundary() != walk.atBoundary ||
                           pieces.AtRecordBoundary() != walk.atBoundary))) {
        std::abort();
    }
    return 0;
}
