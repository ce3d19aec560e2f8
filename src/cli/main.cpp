// slotvane-cli: the identification engine without a window. See cli/commands.h.
#include "cli/commands.h"
#include "cli/console.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    PrepareConsole();
    CliContext context{std::cout, std::cerr, ProgramPathFromUtf8, SteadyMilliseconds};
    try {
        return RunCli(Utf8Arguments(argc, argv), context);
    } catch (const std::exception& error) {
        std::cerr << "slotvane-cli: " << error.what() << '\n';
        return kExitFailure;
    }
}
