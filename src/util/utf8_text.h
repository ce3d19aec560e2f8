// The program's 8-bit text (GBK, with GB18030's four-byte forms for what GBK cannot spell) as
// UTF-8, for output read by other programs, and back, for what they write.
#pragma once

#include <string>
#include <string_view>

std::string Utf8FromProgramText(std::string_view text);
// A byte sequence that is not UTF-8 becomes "?".
std::string ProgramTextFromUtf8(std::string_view text);
