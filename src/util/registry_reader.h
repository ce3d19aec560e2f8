// Read-only access to the registry, as the installed-program listing needs it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class RegistryRoot { CurrentUser, LocalMachine };

// A string value read from a key that may not open.
struct RegistryStringRead {
    bool keyOpened = false;
    std::optional<std::string> value; // present only for a string value (plain or expandable)
};

class IRegistryReader {
public:
    virtual ~IRegistryReader() = default;

    virtual bool KeyExists(RegistryRoot root, const std::string& key) = 0;

    // The key's sub-key names in the order the registry lists them; nothing when the key cannot
    // be opened for reading.
    virtual std::optional<std::vector<std::string>> SubKeyNames(RegistryRoot root,
                                                                const std::string& key) = 0;

    // Opens the key and reads one value if it is a string: a plain one, or an expandable one read
    // as its stored text ("%SystemRoot%" stays as written).
    virtual RegistryStringRead ReadString(RegistryRoot root, const std::string& key,
                                          const std::string& valueName) = 0;

    // Opens the key and reads one 32-bit integer value; nothing when the key or the value is
    // missing. A value of another type raises an error. A reader without integer values (a
    // test's, the native build's) answers nothing.
    virtual std::optional<std::int32_t> ReadInteger(RegistryRoot, const std::string&,
                                                    const std::string&) {
        return std::nullopt;
    }
};
