#include "identify/company_name.h"

#include "identify/copyright_text.h"
#include "identify/descriptor_tag.h"
#include "identify/product_name.h"
#include "identify/string_helpers.h"
#include "identify/symbol_bytes.h"

#include <string_view>

namespace {

struct Token {
    std::string_view token;
    std::string_view company;
};

constexpr Token kTokens[] = {
    {"CCCP", "CCCP Project"},
    {"QTA", "QuickTime Alternative Team"},
    {"QTL", "QuickTime Lite Team"},
    {"KLITE", "K-Lite Codec Pack Team"},
    {"KLITE64", "K-Lite Codec Pack Team"},
    {"KLITEMEGA", "K-Lite Codec Pack Team"},
};

// Licence notes written where the company belongs.
constexpr std::string_view kLicenceNotes[] = {
    "GNU",
    "See GPL licence",
    "See GPL license",
    "GNU GPL License",
    "Gnu General Public License (GPL, Copyleft)",
    "GNU General Public License",
    "GNU General Public License v2",
};

// Placeholders that name no company.
constexpr std::string_view kPlaceholders[] = {"TODO:", "Company", "none", "."};

constexpr std::string_view kTrailingPunctuation = "-,;([";

bool IsOneOfNoCase(std::string_view text, std::span<const std::string_view> list) {
    for (std::string_view entry : list) {
        if (EqualsNoCase(text, entry)) {
            return true;
        }
    }
    return false;
}

// A web address at the end of the name goes, unless words follow it or it begins within the
// first `bound` characters (then it is most of the name).
std::string CutTrailingAddress(const std::string& name, std::string_view scheme, int bound) {
    const std::size_t at = name.find(scheme);
    if (at == std::string::npos || static_cast<int>(at) + 1 <= bound) {
        return name;
    }
    if (name.find(' ', at + scheme.size()) != std::string::npos) {
        return name;
    }
    return Trim(LeftPart(name, static_cast<int>(at)));
}

void ReadDescriptorCopyright(NameRuleContext& c) {
    const std::string descriptor = c.folder + "META-INF\\AIR\\application.xml";
    if (c.name.empty() && c.platform.FileExistsNonEmpty(descriptor)) {
        c.name = ReadDescriptorTag("copyright", c.platform.LoadLines(descriptor));
    }
}

bool IsUnreadable(std::string_view name) {
    return name == "?" || name.find("??") != std::string_view::npos;
}

} // namespace

std::string NormalizeCompanyName(const std::string& company, const std::string& path,
                                 IIdentifyPlatform& platform) {
    NameRuleContext c(platform, path);
    std::string& name = c.name;
    name = Trim(TextBefore(company, "\r"));
    if (name == "-") {
        name.clear();
    }
    c.product = NormalizeProductName(path, platform);
    name = CutSymbolSuffix(name, '\xAE');

    ApplyNameRules(CompanyNameRules(), c);

    ReadDescriptorCopyright(c);
    if (IsOneOfNoCase(name, kLicenceNotes) || ContainsNoCase("GNU GPL", name)) {
        name.clear();
    }
    name = CutPrefixNoCase(name, "Author: ");
    name = CutPrefixNoCase(name, "Original author: ");
    name = CutTrailingAddress(name, "http://", 5);
    name = CutTrailingAddress(name, "www.", 9);
    if (EndsWithNoCase(name, "L.L.C.")) {
        name = CutSuffixNoCase(name, "L.L.C.") + " LLC";
    }
    while (name.size() > 1 && kTrailingPunctuation.find(name.back()) != std::string_view::npos) {
        name.pop_back();
        name = Trim(name);
    }
    if (IsOneOfNoCase(name, kPlaceholders) || name.starts_with('$')) {
        name.clear();
    }
    return StripNameTail(name);
}

std::string GetCompanyName(const std::string& path, IIdentifyPlatform& platform) {
    const std::string native = platform.NativeSystemPath(path);
    for (const Token& token : kTokens) {
        if (native == token.token) {
            return std::string(token.company);
        }
    }
    const FileVersionInfoRec info = platform.ReadVersionStrings(native);
    const std::string copyright = Trim(info.LegalCopyright);

    std::string result = NormalizeCompanyName(info.CompanyName, native, platform);
    if (result.empty() && !copyright.empty()) {
        result = NormalizeCompanyName(copyright, native, platform);
    }
    const std::string previous = result;
    result = StripCopyrightText(result);
    if (result != previous) {
        result = NormalizeCompanyName(result, native, platform);
    }
    return IsUnreadable(result) ? std::string() : result;
}
