// What the console front end needs from the system: its arguments as UTF-8, the program's path
// text for an argument, a console that takes UTF-8 bytes as they are, and a clock for timings.
#pragma once

#include <string>
#include <vector>

// The arguments after the program's name, as UTF-8 (on Windows from the wide command line).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// A path given as UTF-8 in the program's 8-bit path text.
std::string ProgramPathFromUtf8(const std::string& argument);

// Standard output and error take bytes unchanged (no line-end translation) and a console shows
// them as UTF-8.
void PrepareConsole();

// A steady clock in milliseconds, with fractions, for measuring durations.
double SteadyMilliseconds();
