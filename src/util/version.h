// A version number a.b.c.d: four signed 32-bit parts parsed from dotted text, printed back, and
// compared part by part or as two unsigned 32-bit halves (the form sent to the update server).
#pragma once

#include <cstdint>
#include <string>

class TVeyraVersion {
public:
    TVeyraVersion() = default;
    explicit TVeyraVersion(const std::string& text);

    // Missing parts count as 0; a part that is not a whole number, or is above 65535, becomes 0.
    void SetText(const std::string& text);
    std::string AsText() const;

    // True when the parts add up to more than 0.
    bool IsValid() const;
    bool IsNewerThan(const TVeyraVersion& other) const;

    // (Major << 16) + Minor and (Release << 16) + Build, wrapping in 32 bits.
    std::uint32_t HighPart() const;
    std::uint32_t LowPart() const;
    std::string HighPartText() const;
    std::string LowPartText() const;
    bool IsNewerThanParts(std::uint32_t high, std::uint32_t low) const;

    std::int32_t Major = 0;
    std::int32_t Minor = 0;
    std::int32_t Release = 0;
    std::int32_t Build = 0;
};
