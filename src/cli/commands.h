// The console front end's commands: a table of names, each with its usage line and its
// function. A command writes its results to out, its complaints to err, and returns the exit
// code.
#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

struct CliContext {
    std::ostream& out;
    std::ostream& err;
    // The program's path text for an argument.
    std::function<std::string(const std::string& argument)> pathFromArgument;
    // Milliseconds of a steady clock.
    std::function<double()> milliseconds;
};

struct CliCommand {
    const char* name;
    const char* usage; // the arguments, for the usage text
    int (*run)(const std::vector<std::string>& arguments, CliContext& context);
};

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1; // some input could not be handled
inline constexpr int kExitUsage = 2;

std::span<const CliCommand> CliCommands();

// Runs the command named by the first argument; the usage text on err and kExitUsage when there
// is no such command.
int RunCli(const std::vector<std::string>& arguments, CliContext& context);
