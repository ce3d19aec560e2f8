#include "identify/copyright_text.h"

#include "identify/string_helpers.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// "\xA9" is the copyright sign as one Windows-1252 byte; "\xC2\xA9" is its UTF-8 form read as
// 8-bit text. Both are escapes so that the GBK literal conversion leaves them alone.
constexpr std::string_view kSign = "\xA9";

constexpr std::string_view kLicenceEndings[] = {
    " under GNU General Public License",
    " under the GPL",
    " under the GNU Public License (GPL)",
    " under GNU General Public License.",
    " under the GPL.",
    " under the GNU Public License (GPL).",
    "Freeware licensed under GPL",
    "This file is set under the General Public License.",
    "GNU General Public License v2",
    "Gnu General Public License (GPL, Copyleft)",
    ". This software is licensed under the terms of the GNU General Public License.",
};

// clang-format off
constexpr std::string_view kRightsSentences[] = {
    " All Rights Reserved.",
    " All Rights Reserved",
    " All Rigths Reserved.",
    " All Rigths Reserved",
    ".All Rights Reserved",
};
// clang-format on

constexpr std::string_view kLeadingPhrases[] = {
    "\xA9",
    "Copyrights \xA9",
    "Copyright\xA9",
    "Copyright(c)",
    "Copyright\xC2\xA9",
    "Copyrights \xC2\xA9",
    "Copyright(r)",
    "Copyright?",
    "All rights reserved worldwide",
    "All Rights Reserved (C)",
    "All rights reserved",
    "(C)All rights reserved",
    "All rights reserverd",
    "All Rights Reversed",
    "\xC2\xA9",
    "\xA9",
};

constexpr std::string_view kTrailingPhrases[] = {
    "All rights reserved.",
    "All right reserved.",
    "Some right reserved.",
    "No rights reserved.",
    "This software is protected by international and romanian copyright and trade laws.",
};

// A token read as a whole number; 0 when it is not one.
std::int32_t Number(std::string_view token) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    return error == std::errc() && end == token.data() + token.size() ? value : 0;
}

int Length(std::string_view text) {
    return static_cast<int>(text.size());
}

bool IsYear(std::string_view token) {
    return token.size() == 4 && Number(token) > 1990;
}

bool IsTwoDigitNumber(std::string_view token) {
    return token.size() == 2 && Number(token) > 0;
}

std::string FirstToken(std::string_view s, std::string_view delimiters) {
    return FieldAt(s, 0, delimiters);
}

std::string LastToken(std::string_view s, std::string_view delimiters) {
    return FieldAt(s, CountInSet(s, delimiters) - 1, delimiters);
}

// Drops the first token and the delimiter after it.
std::string RemoveFirstToken(std::string_view s, std::string_view token) {
    return RightPart(s, Length(s) - Length(token) - 1);
}

// Drops the last token and the character before it.
std::string RemoveLastToken(std::string_view s, std::string_view token) {
    return LeftPart(s, Length(s) - Length(token) - 1);
}

// Each step below works on the one text of the current pass, in place.

void RemoveComma(std::string& s) {
    if (s.ends_with(',')) {
        s.pop_back();
    }
    if (s.starts_with(',')) {
        s.erase(0, 1);
    }
}

void RemoveLeadingSignOrWord(std::string& s) {
    const std::string t = FirstToken(s, " -");
    if (EqualsNoCase(t, "C") || EqualsNoCase(t, "(C)") || EqualsNoCase(t, "copyright") ||
        EqualsNoCase(t, "by") || t == kSign || t == ",") {
        s = RemoveFirstToken(s, t);
    }
}

void RemoveLeadingYear(std::string& s) {
    const std::string t = FirstToken(s, " -,");
    if (IsYear(t)) {
        s = RemoveFirstToken(s, t);
    }
}

void RemoveLeadingSlashDate(std::string& s) {
    if (s.find('/') == std::string::npos) {
        return;
    }
    const std::string t = FirstToken(s, "/");
    if (t.size() == 4 || IsTwoDigitNumber(t)) {
        s = RemoveFirstToken(s, t);
    }
}

void RemoveTrailingSignOrYear(std::string& s) {
    const std::string t = LastToken(s, " -");
    if (EqualsNoCase(t, "(C)") || EqualsNoCase(t, "copyright") || t == kSign || t == "," ||
        IsYear(t) || IsTwoDigitNumber(t)) {
        s = RemoveLastToken(s, t);
    }
}

void RemoveTrailingHyphen(std::string& s) {
    if (s.size() > 1 && s.ends_with('-')) {
        s.pop_back();
    }
}

void RemoveLicenceEndings(std::string& s) {
    for (const std::string_view ending : kLicenceEndings) {
        if (EndsWithNoCase(s, ending)) {
            s.resize(s.size() - ending.size());
        }
    }
}

void RemoveRightsSentences(std::string& s) {
    for (const std::string_view rights : kRightsSentences) {
        const std::string lastPart = LastToken(s, ",");
        if (EqualsNoCase(lastPart, rights)) {
            s = RemoveLastToken(s, lastPart);
        }
        if (s.ends_with('.')) {
            const std::string lastSentence = FieldAt(s, CountInSet(s, ".") - 2, ".") + ".";
            if (EqualsNoCase(lastSentence, rights)) {
                s = RemoveLastToken(s, lastSentence);
            }
        }
        if (EndsWithNoCase(s, rights)) {
            s.resize(s.size() - rights.size());
        }
    }
}

void RemoveOuterHyphens(std::string& s) {
    if (s.size() > 1) {
        if (s.starts_with('-')) {
            s.erase(0, 1);
        }
        if (s.ends_with('-')) {
            s.pop_back();
        }
    }
}

// "... 2012." loses its year and the full stop after it.
void RemoveTrailingYearSentence(std::string& s) {
    if (s.size() > 5 && s.ends_with('.') &&
        Number(std::string_view(s).substr(s.size() - 5, 4)) > 1990) {
        s.resize(s.size() - 5);
    }
}

void RemovePhrases(std::string& s) {
    for (const std::string_view phrase : kLeadingPhrases) {
        s = CutPrefixNoCase(s, phrase);
    }
    for (const std::string_view phrase : kTrailingPhrases) {
        s = CutSuffixNoCase(s, phrase);
    }
}

void OnePass(std::string& s) {
    RemoveComma(s);
    RemoveLeadingSignOrWord(s);
    s = CutPrefixNoCase(CutPrefixNoCase(s, "(c)"), "c)");
    RemoveLeadingYear(s);
    RemoveLeadingSlashDate(s);
    RemoveTrailingSignOrYear(s);
    RemoveTrailingHyphen(s);
    RemoveLicenceEndings(s);
    s = Trim(s);
    RemoveRightsSentences(s);
    s = Trim(s);
    RemoveOuterHyphens(s);
    RemoveTrailingYearSentence(s);
    RemovePhrases(s);
}

} // namespace

std::string StripCopyrightText(std::string_view text) {
    // Every step only cuts at the ends, so a pass either shortens the text or changes nothing.
    std::string s(text);
    for (;;) {
        const std::string previous = s;
        OnePass(s);
        if (s == previous) {
            return s;
        }
    }
}
