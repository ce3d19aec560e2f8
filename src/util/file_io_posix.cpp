#include "util/file_io.h"

#include "util/os_error.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        throw MakeOSError(static_cast<std::uint32_t>(errno));
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0) {
        throw MakeOSError(static_cast<std::uint32_t>(errno));
    }
}

void ReplaceWholeFile(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".part";
    try {
        WriteWholeFile(temporary, bytes);
        if (std::rename(temporary.c_str(), path.c_str()) != 0) {
            throw MakeOSError(static_cast<std::uint32_t>(errno));
        }
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
}
