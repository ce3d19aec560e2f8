#include "app/text_storage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TTextStorage AboutTexts() {
    TTextStorage storage({"关于", "应用程序名称:", "版本:", "Tarvik Links"});
    storage.Loaded();
    return storage;
}

TEST(TextStorage, LookupFindsTheCurrentFormOfAStoredText) {
    struct Case {
        std::vector<std::string> items; // empty: the stored texts are kept
        std::string key;
        std::string expected;
    };
    const Case cases[] = {
        {{}, "关于", "关于"},
        {{}, "not stored", "not stored"},
        {{"About", "Application name:", "Version:", "Links"}, "关于", "About"},
        {{"About", "Application name:", "Version:", "Links"}, "版本:", "Version:"},
        {{"unused", "Application name:"}, "关于", "关于"},
        {{"About"}, "版本:", "版本:"}, // fewer current texts than keys
        {{"About", "x", "y", "Links"}, "TARVIK links", "Links"},
        {{"About", "x", "y", "Links"}, "tarvik links ", "tarvik links "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        TTextStorage storage = AboutTexts();
        if (!c.items.empty()) {
            storage.SetItems(c.items);
        }
        EXPECT_EQ(storage.Lookup(c.key), c.expected);
    }
}

TEST(TextStorage, CaseFoldingLeavesDoubleByteCharactersAlone) {
    // Two GBK characters whose trail bytes are 'A' and 'a': different characters.
    TTextStorage storage({"\x81\x41", "X"});
    storage.Loaded();
    storage.SetItems({"found", "X"});
    EXPECT_EQ(storage.Lookup("\x81\x41"), "found");
    EXPECT_EQ(storage.Lookup("\x81\x61"), "\x81\x61");
}

TEST(TextStorage, KeysAreTakenOnlyWhenLoaded) {
    TTextStorage storage({"a"});
    EXPECT_EQ(storage.Lookup("a"), "a");
    storage.Loaded();
    storage.SetItems({"b"});
    EXPECT_EQ(storage.LoadedItems(), std::vector<std::string>{"a"});
    EXPECT_EQ(storage.Lookup("A"), "b");
}

} // namespace
