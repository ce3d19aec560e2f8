// The one place where the program's 8-bit text meets the wide text of the Windows API. The 8-bit
// text is GBK (code page 936) with GB18030's four-byte forms for what GBK cannot spell (see
// util/gb18030.h), so paths and names of any language survive the round trip. Converting with an
// explicit code page keeps the interface and the file names right on every system locale.
#pragma once

#include <string>
#include <string_view>

inline constexpr unsigned kProgramCodePage = 936;

std::wstring WideFromGbk(std::string_view text);
std::string GbkFromWide(std::wstring_view text);

// The same conversions for another code page (the system's, CP_ACP, for its 8-bit functions).
std::wstring WideFromCodePage(unsigned codePage, std::string_view text);
std::string CodePageFromWide(unsigned codePage, std::wstring_view text);
