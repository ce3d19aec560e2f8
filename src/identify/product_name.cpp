#include "identify/product_name.h"

#include "identify/descriptor_tag.h"
#include "identify/string_helpers.h"
#include "identify/symbol_bytes.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Token {
    std::string_view token;
    std::string_view product;
};

constexpr Token kTokens[] = {
    {"CCCP", "Combined Community Codec Pack"},
    {"QTA", "QuickTime Alternative"},
    {"QTL", "QuickTime Lite"},
    {"KLITE", "K-Lite Codec Pack"},
    {"KLITE64", "K-Lite Codec Pack (64-Bits)"},
    {"KLITEMEGA", "K-Lite Codec Pack (Mega)"},
};

// Tail step 8, in order: suffix cuts, prefix cuts, the name tail, then the platform suffixes.
constexpr std::string_view kFileSuffixes[] = {
    ".exe", ".dll", ".dll loader", "Application", "application file", "main executable",
};
constexpr std::string_view kPrefixes[] = {"Main executable for", "ShInstUtil - "};
constexpr std::string_view kPlatformSuffixes[] = {
    "for Windows",
    "for Win32",
    "for Windows NT",
    "for Windows NT/2000/XP/Vista",
    "for Windows 98/Me/2000/XP",
    "for Windows XP",
    "for WindowsNT",
    "for Win2k/XP",
    "for Windows(R)",
    "for Windows\xAE",
    "for Windows 2000/XP",
    "for Windows 9x/Me/NT/2k/XP",
    "64-bit",
    "32-bit",
};

constexpr std::string_view kDescriptor = "META-INF\\AIR\\application.xml";
constexpr std::string_view kSixtyFourBits = " (64 bits)";

int Words(std::string_view text) {
    return CountInSet(text, " ");
}

int Length(std::string_view text) {
    return static_cast<int>(text.size());
}

// 1-based position of the first exact occurrence of needle; 0 when absent.
int PositionOf(std::string_view text, std::string_view needle) {
    const std::size_t at = text.find(needle);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void FirstPick(NameRuleContext& c) {
    const FileVersionInfoRec& info = c.info;
    c.descriptionWords = CountInSet(ReplaceAllExact(info.FileDescription, " - ", "-"), " -");
    c.productWords = CountInSet(ReplaceAllExact(info.ProductName, " - ", "-"), " ");
    c.internalWords = CountInSet(info.InternalName, " ");

    std::string& name = c.name;
    if (c.productWords >= 1 && c.productWords <= 4) {
        name = info.ProductName;
    }
    const bool plausible = (c.descriptionWords >= c.productWords &&
                            info.FileDescription.find('(') == std::string::npos) ||
                           HoldsSymbol(name, '\xAE');
    const bool isShort = c.descriptionWords < 4 ||
                         (c.descriptionWords == 4 && !EqualsNoCase(info.ProductName, c.base));
    const bool addsSomething =
        EqualsNoCase(c.base, "updater") || EqualsNoCase(info.ProductName, "shockwave") ||
        !(!info.ProductName.empty() && StartsWithExact(info.FileDescription, info.ProductName));
    if (!info.FileDescription.empty() && plausible && isShort && addsSomething) {
        name = info.FileDescription;
    }
    if (name.empty()) {
        for (const std::string* field :
             {&info.FileDescription, &info.ProductName, &info.InternalName}) {
            if (!field->empty()) {
                name = *field;
                break;
            }
        }
    }
    if (!info.InternalName.empty() && (Words(name) > 6 || name.empty())) {
        name = info.InternalName;
    }
}

void CutBitnessTag(std::string& name) {
    if (Words(name) < 2) {
        return;
    }
    const int p =
        std::max({PositionOf(name, "(16"), PositionOf(name, "(32"), PositionOf(name, "(64")});
    if (p > 0 && PositionOf(name, ")") == Length(name)) {
        name = Trim(LeftPart(name, p - 1));
    }
}

std::string LastWord(std::string_view name) {
    return FieldAt(name, CountInSet(name, " ") - 1, " ");
}

void CutVersionTail(std::string& name) {
    if (Words(name) < 2) {
        return;
    }
    const std::string w = LastWord(name);
    if (w.empty()) {
        return;
    }
    const char first = w.front();
    const bool leads = IsDigit(first) || first == '.' || first == 'V' || first == 'v';
    const bool rest =
        std::all_of(w.begin() + 1, w.end(), [](char ch) { return IsDigit(ch) || ch == '.'; });
    if (leads && rest) {
        name = Trim(LeftPart(name, Length(name) - Length(w)));
    }
}

void CutTrademarkTail(std::string& name) {
    if (Words(name) < 2) {
        return;
    }
    const std::string w = LastWord(name);
    if (ContainsNoCase("(tm)", w)) {
        name = Trim(LeftPart(name, Length(name) - Length(w)));
    }
}

void ReadDescriptorName(NameRuleContext& c) {
    const std::string descriptor = c.folder + std::string(kDescriptor);
    if (!c.name.empty() || !c.platform.FileExistsNonEmpty(descriptor)) {
        return;
    }
    const std::vector<std::string> lines = c.platform.LoadLines(descriptor);
    c.name = ReadDescriptorTag("name", lines);
    if (c.name.empty()) {
        c.name = ReadDescriptorTag("filename", lines);
    }
}

void CutCommonAffixes(std::string& name) {
    for (std::string_view suffix : kFileSuffixes) {
        name = CutSuffixNoCase(name, suffix);
    }
    for (std::string_view prefix : kPrefixes) {
        name = CutPrefixNoCase(name, prefix);
    }
    name = StripNameTail(name);
    for (std::string_view suffix : kPlatformSuffixes) {
        name = CutSuffixNoCase(name, suffix);
    }
}

void MarkFlashPlayer64(NameRuleContext& c) {
    if (!ContainsNoCase("Adobe Flash Player for ", c.name)) {
        return;
    }
    const std::string version = ReplaceAllExact(c.platform.GetFileVersionText(c.path), ".", "_");
    if (c.base.find("64_" + version) != std::string::npos) {
        c.name += kSixtyFourBits;
    }
}

void TagSixtyFourBit(NameRuleContext& c) {
    bool is64 = false;
    if (c.platform.IsPEImage(c.path, is64) && is64) {
        c.name = CutSuffixNoCase(CutSuffixNoCase(c.name, " x64"), kSixtyFourBits);
        c.name += kSixtyFourBits;
    }
}

void RunTailSteps(NameRuleContext& c) {
    std::string& name = c.name;
    CutBitnessTag(name);
    CutVersionTail(name);
    if (StartsWithNoCase(name, "Winmerge") &&
        (StartsWithNoCase(c.info.ProductVersion, "2011.") ||
         StartsWithNoCase(c.info.ProductVersion, "0.2011."))) {
        name = "WinMerge 2011";
    }
    CutTrademarkTail(name);
    name = Trim(RemoveSymbol(name, '\x99'));
    if (name.size() > 1 && name.back() == '.') {
        name = Trim(LeftPart(name, Length(name) - 1));
    }
    ReadDescriptorName(c);
    CutCommonAffixes(name);
    if (name.empty()) {
        name = c.base;
    }
    if (StartsWithNoCase(name, "adwcleaner")) {
        name = "AdwCleaner";
    }
    if (StartsWithNoCase(c.base, "adwcleaner") && StartsWithNoCase(name, "aut2exe")) {
        name = "AdwCleaner";
    }
    if (EqualsNoCase(name, "PoiLoader")) {
        name = "POI Loader";
    }
    MarkFlashPlayer64(c);
    name = Trim(name);
    TagSixtyFourBit(c);
    if (name == "?" || name.find("??") != std::string::npos || name.starts_with('$')) {
        name.clear();
    }
}

} // namespace

std::string NormalizeProductName(const std::string& path, IIdentifyPlatform& platform) {
    for (const Token& token : kTokens) {
        if (path == token.token) {
            return std::string(token.product);
        }
    }
    NameRuleContext context(platform, platform.NativeSystemPath(path));
    context.info = platform.ReadVersionStrings(context.path);
    FirstPick(context);
    ApplyNameRules(ProductNameRules(), context);
    RunTailSteps(context);
    return context.name;
}
