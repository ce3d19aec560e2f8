// libFuzzer target for the program-file reader: any bytes as a file (signature test, resource
// directory, version block) and as a version block of their own. Built and run by scripts/fuzz.
#include "identify/identify_text.h"
#include "identify/pe_image.h"
#include "identify/version_resource.h"
#include "util/file_bytes.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void ReadBlock(std::string_view block) {
    const VersionResource resource = ParseVersionResource(block);
    for (const VersionStringTable& table : resource.tables) {
        for (const auto& [key, value] : table.strings) {
            IdentifyTextFromUtf16(key);
            Utf8FromIdentifyText(IdentifyTextFromUtf16(value));
        }
    }
    for (const char* path : {"\\", "\\VarFileInfo\\Translation", "FileDescription",
                             "\\StringFileInfo\\040904B0\\CompanyName",
                             "\\StringFileInfo\\040904b0\\ProductName\\x"}) {
        if (const auto value = QueryVersionValue(block, path)) {
            TextUpToNul(value->bytes);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MemoryByteSource file(bytes);
    bool is64 = false;
    IsPEImage(file, is64);
    VersionResourceLiesInFile(file);
    if (const auto block = ReadVersionResourceBytes(file)) {
        ReadBlock(*block);
    }
    ReadBlock(bytes);
    return 0;
}
