#include "util/long_path.h"

#include <gtest/gtest.h>

namespace {

TEST(LongPathForm, PrefixesLocalPathsAndRewritesNetworkPaths) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"C:\\Users\\u\\AppData\\Roaming\\Tarvik", "\\\\?\\C:\\Users\\u\\AppData\\Roaming\\Tarvik"},
        {"\\\\server\\share\\x", "\\\\?\\UNC\\server\\share\\x"},
        {"\\\\?\\C:\\x", "\\\\?\\C:\\x"},
        {"\\\\?\\UNC\\server\\share", "\\\\?\\UNC\\server\\share"},
        {"\\x", "\\\\?\\\\x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LongPathForm(c.path), c.expected) << c.path;
    }
}

} // namespace
