#include "identify/copyright_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The copyright sign as one Windows-1252 byte, and its UTF-8 form read as 8-bit text.
const std::string kSign = "\xA9";
const std::string kUtf8Sign = "\xC2\xA9";

struct Case {
    std::string text;
    std::string expected;
};

void ExpectStripped(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.text + "'");
        EXPECT_EQ(StripCopyrightText(c.text), c.expected);
    }
}

TEST(CopyrightTextTest, SignsWordsAndYearsGoFromBothEnds) {
    ExpectStripped({
        {kSign + " 2005-2010 Foo GmbH", "Foo GmbH"},
        {"Copyright (c) 2010 Foo Inc. All rights reserved.", "Foo Inc"},
        {"Foo Software, 1998", "Foo Software"},
        {"Foo Corp 1985", "Foo Corp 1985"},
        {"1985 Foo Corp", "1985 Foo Corp"},
        {"Foo Inc. 2012.", "Foo Inc."},
        {"by Foo", "Foo"},
        {"BY Foo", "Foo"},
        {"C 2001 Foo", "Foo"},
        {"c) 1999 Foo", "Foo"},
        {"(C) Foo 2009-2011", "Foo"},
        {"COPYRIGHT-2003 Foo", "Foo"},
        {"2001, Foo", "Foo"},
        {"2004/2008 Foo Ltd", "Foo Ltd"},
        {"Foo Ltd 09", "Foo Ltd"},
        {"Foo (C)", "Foo"},
        {"Foo Copyright", "Foo"},
        {"Foo " + kSign, "Foo"},
        {", Foo,", "Foo"},
        {"Foo Ltd -", "Foo Ltd"},
        {"-Foo-", "Foo"},
    });
}

TEST(CopyrightTextTest, WordsThatOnlyLookLikeSignsStay) {
    ExpectStripped({
        {"Foo Bar", "Foo Bar"},
        {"Cobalt Ltd", "Cobalt Ltd"},
        {"Bytes Inc", "Bytes Inc"},
        {"Foo Corp. All Rights Reserved. Version 2", "Foo Corp. All Rights Reserved. Version 2"},
        {"Foo 3", "Foo 3"},
        {"Foo 00", "Foo 00"},
        {"\xB3\xCC\xD0\xF2 Soft", "\xB3\xCC\xD0\xF2 Soft"},
    });
}

TEST(CopyrightTextTest, RightsSentencesGoWithTheirSeparator) {
    ExpectStripped({
        {"Foo Ltd All Rights Reserved", "Foo Ltd"},
        {"Foo, Inc., All Rights Reserved", "Foo, Inc."},
        {"Foo Inc, all rights reserved.", "Foo Inc"},
        {"Foo Inc. All Rigths Reserved.", "Foo Inc"},
        {"Foo Inc. All Rigths Reserved", "Foo Inc."},
        {"Foo Inc.All Rights Reserved", "Foo Inc"},
        {"Foo All Rights Reserved.", "Foo"},
    });
}

TEST(CopyrightTextTest, EveryLicenceEndingIsRemoved) {
    ExpectStripped({
        {"Foo under GNU General Public License", "Foo"},
        {"Foo under the GPL", "Foo"},
        {"Foo under the GNU Public License (GPL)", "Foo"},
        {"Foo under GNU General Public License.", "Foo"},
        {"Foo UNDER THE GPL.", "Foo"},
        {"Foo under the GNU Public License (GPL).", "Foo"},
        {"Foo Freeware licensed under GPL", "Foo"},
        {"Foo. This file is set under the General Public License.", "Foo."},
        {"Foo GNU General Public License v2", "Foo"},
        {"Foo Gnu General Public License (GPL, Copyleft)", "Foo"},
        {"Foo. This software is licensed under the terms of the GNU General Public License.",
         "Foo"},
    });
}

TEST(CopyrightTextTest, EveryLeadingPhraseIsRemoved) {
    ExpectStripped({
        {kSign + "Foo", "Foo"},
        {"Copyrights " + kSign + " Foo", "Foo"},
        {"Copyright" + kSign + " Foo", "Foo"},
        {"Copyright(c) Foo", "Foo"},
        {"Copyright" + kUtf8Sign + " Foo", "Foo"},
        {"Copyrights " + kUtf8Sign + " Foo", "Foo"},
        {"Copyright(R) Foo", "Foo"},
        {"Copyright? Foo", "Foo"},
        {"All rights reserved worldwide Foo", "Foo"},
        {"All Rights Reserved (C) Foo", "Foo"},
        {"all rights reserved Foo", "Foo"},
        {"(C)All rights reserved Foo", "Foo"},
        {"All rights reserverd Foo", "Foo"},
        {"All Rights Reversed Foo", "Foo"},
        {kUtf8Sign + " 2003 Foo", "Foo"},
        {kSign + kSign + "Foo", "Foo"},
    });
}

TEST(CopyrightTextTest, EveryTrailingPhraseIsRemoved) {
    ExpectStripped({
        {"Foo. All rights reserved.", "Foo"},
        {"Foo Inc. All right reserved.", "Foo Inc."},
        {"Foo Inc. Some right reserved.", "Foo Inc."},
        {"Foo Inc. NO RIGHTS RESERVED.", "Foo Inc."},
        {"Foo Corp. This software is protected by international and romanian copyright and "
         "trade laws.",
         "Foo Corp."},
    });
}

// The result is always a piece of the input and stable: stripping it again changes nothing.
void ExpectSoundResult(const std::string& text) {
    SCOPED_TRACE("'" + text + "'");
    const std::string result = StripCopyrightText(text);
    EXPECT_LE(result.size(), text.size());
    EXPECT_NE(text.find(result), std::string::npos) << "result '" << result << "'";
    EXPECT_EQ(StripCopyrightText(result), result);
}

TEST(CopyrightTextTest, AwkwardInputsEndWithAPieceOfTheInput) {
    const std::vector<std::string> inputs = {
        "",
        " ",
        ",",
        "-",
        "--",
        ".",
        "/",
        "//",
        "c",
        "C",
        "(",
        kSign,
        "\xC2",
        kUtf8Sign,
        ",,,,",
        "- - -",
        ", - ,",
        "1991",
        "1991.",
        "19",
        "(c)",
        "c)",
        "by",
        "by by by",
        "a,b,c",
        "\x01",
        " All Rights Reserved",
        " All Rights Reserved.",
        ".All Rights Reserved",
        "All rights reserved.",
        ". .",
        "2001/",
        "/2001",
        "12/",
        kSign + kSign + kSign,
        std::string("\0\0", 2),
        "\xB3\xCC\xD0\xF2",
    };
    for (const std::string& text : inputs) {
        ExpectSoundResult(text);
    }
}

TEST(CopyrightTextTest, ManyYearsTakeManyPasses) {
    std::string leading;
    std::string trailing;
    for (int i = 0; i < 200; ++i) {
        leading += "1999 ";
        trailing += " 1999";
    }
    EXPECT_EQ(StripCopyrightText(leading + "Foo"), "Foo");
    EXPECT_EQ(StripCopyrightText("Foo" + trailing), "Foo");
}

TEST(CopyrightTextTest, MixedFragmentsEndWithAPieceOfTheInput) {
    const std::vector<std::string> fragments = {
        "Copyright",
        "(c)",
        "c)",
        kSign,
        kUtf8Sign,
        "2005",
        "1985",
        "12",
        "/",
        "-",
        ",",
        ".",
        " ",
        "Foo",
        "Inc.",
        " All Rights Reserved",
        "by",
        "C",
        "GPL",
        " under the GPL.",
        "All rights reserved.",
        "\xB3\xCC",
        "\xA9-",
        "  ",
    };
    std::mt19937 random(20240131);
    std::uniform_int_distribution<std::size_t> pick(0, fragments.size() - 1);
    std::uniform_int_distribution<int> count(1, 7);
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        for (int n = count(random); n > 0; --n) {
            text += fragments[pick(random)];
        }
        ExpectSoundResult(text);
    }
}

} // namespace
