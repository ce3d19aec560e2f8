#include "util/utf8_text.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("No GB18030 conversion");
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { iconv_close(handle_); }

    iconv_t Get() const { return handle_; }

private:
    iconv_t handle_;
};

// Converts all of the text; a byte that starts no character, or a character cut off at the
// end, becomes the replacement.
std::string Convert(const char* to, const char* from, std::string_view text,
                    std::string_view replacement) {
    const Converter converter(to, from);
    std::string result;
    char buffer[256];
    char* in = const_cast<char*>(text.data()); // iconv's signature; the input is not written
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(converter.Get(), &in, &inLeft, &out, &outLeft);
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            result += replacement;
            ++in;
            --inLeft;
        }
    }
    return result;
}

} // namespace

std::string Utf8FromProgramText(std::string_view text) {
    return Convert("UTF-8", "GB18030", text, "\xEF\xBF\xBD");
}

std::string ProgramTextFromUtf8(std::string_view text) {
    return Convert("GB18030", "UTF-8", text, "?");
}
