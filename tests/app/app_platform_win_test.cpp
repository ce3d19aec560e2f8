#include "app/app_platform_win.h"

#include "support/temp_folder.h"
#include "util/codepage_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

TEST(WindowsAppPlatform, ReadsSmallFilesWhole) {
    TempFolder folder;
    struct Case {
        const char* name;
        std::optional<std::string> content; // nothing: no such file
        std::size_t maxBytes;
        std::optional<std::string> read;
    };
    const std::string ini("[links]\r\nram=http://shop.example.com/\r\n\0x\xFF", 42);
    const Case cases[] = {
        {"ini text", ini, 4096, ini},
        {"exactly the limit", "12345", 5, "12345"},
        {"above the limit", "123456", 5, std::nullopt},
        {"empty", "", 5, ""},
        {"missing", std::nullopt, 4096, std::nullopt},
    };
    WindowsAppPlatform platform;
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A Chinese file name checks the path's conversion too.
        const std::string path = folder.File("链接" + std::to_string(index++) + ".ini");
        if (c.content) {
            std::ofstream(std::filesystem::path(WideFromGbk(path)), std::ios::binary) << *c.content;
        }
        EXPECT_EQ(platform.ReadSmallFile(path, c.maxBytes), c.read);
    }
}

TEST(WindowsAppPlatform, AFolderIsNoFileToRead) {
    TempFolder folder;
    WindowsAppPlatform platform;
    EXPECT_EQ(platform.ReadSmallFile(folder.File(""), 4096), std::nullopt);
}

} // namespace
