// libFuzzer target for the HTTP response framing: any bytes as what a server sends, fed whole
// and fed in two pieces split where the input says, must give the same answer, and a body never
// grows past the cap, whether a larger body fails or keeps its head. Built and run by
// scripts/fuzz.
#include "update/http_response.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::size_t kCap = 4096;

HttpResponseReader Read(std::string_view first, std::string_view second,
                        HttpBodyOverflow overflow) {
    HttpResponseReader reader(kCap, overflow);
    reader.Feed(first);
    if (!reader.Complete() && !reader.Failed()) {
        reader.Feed(second);
    }
    if (!reader.Complete() && !reader.Failed()) {
        reader.ConnectionClosed();
    }
    return reader;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = bytes.empty() ? 0 : data[0] % (bytes.size() + 1);
    for (const HttpBodyOverflow overflow : {HttpBodyOverflow::Fail, HttpBodyOverflow::KeepHead}) {
        const HttpResponseReader whole = Read(bytes, {}, overflow);
        const HttpResponseReader pieces =
            Read(bytes.substr(0, split), bytes.substr(split), overflow);
        if (whole.Body().size() > kCap || whole.Complete() == whole.Failed() ||
            whole.Complete() != pieces.Complete() || whole.Error() != pieces.Error() ||
            whole.Body() != pieces.Body() || whole.Status() != pieces.Status()) {
            std::abort();
        }
    }
    return 0;
}
