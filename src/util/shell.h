// Hands a file or web address to the desktop shell, which opens it with the program that its
// type is associated with.
#pragma once

#include <string>

// The show mode of a normal window.
inline constexpr int kShowNormal = 1;

class IShell {
public:
    virtual ~IShell() = default;

    // Environment variables in the file name are expanded; an empty verb is the type's default
    // action; the shell shows no error dialog. True when the shell accepted the request.
    virtual bool RunProgram(const std::string& file, const std::string& parameters,
                            const std::string& verb, int showMode) = 0;
};

// The desktop's shell.
IShell& SystemShell();
