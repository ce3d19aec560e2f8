// A dynamically typed value as the instrumentation service delivers it: empty, null, text, an
// integer of 8 to 64 bits, a real, a boolean or an object reference.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>

class IAutomationObject;

// In the order of the alternatives held by TVariant.
enum class VariantKind {
    Empty,
    Null,
    Text,
    Int8,
    Int16,
    Int32,
    Int64,
    UInt8,
    UInt16,
    UInt32,
    UInt64,
    Real,
    Boolean,
    Object,
};

class TVariant {
public:
    struct EmptyValue {};
    struct NullValue {};
    using Value =
        std::variant<EmptyValue, NullValue, std::string, std::int8_t, std::int16_t, std::int32_t,
                     std::int64_t, std::uint8_t, std::uint16_t, std::uint32_t, std::uint64_t,
                     double, bool, std::shared_ptr<IAutomationObject>>;

    TVariant() = default; // empty

    static TVariant Null() { return Make<NullValue>(NullValue{}); }
    static TVariant Text(std::string text) { return Make<std::string>(std::move(text)); }
    static TVariant Int8(std::int8_t number) { return Make<std::int8_t>(number); }
    static TVariant Int16(std::int16_t number) { return Make<std::int16_t>(number); }
    static TVariant Int32(std::int32_t number) { return Make<std::int32_t>(number); }
    static TVariant Int64(std::int64_t number) { return Make<std::int64_t>(number); }
    static TVariant UInt8(std::uint8_t number) { return Make<std::uint8_t>(number); }
    static TVariant UInt16(std::uint16_t number) { return Make<std::uint16_t>(number); }
    static TVariant UInt32(std::uint32_t number) { return Make<std::uint32_t>(number); }
    static TVariant UInt64(std::uint64_t number) { return Make<std::uint64_t>(number); }
    static TVariant Real(double number) { return Make<double>(number); }
    static TVariant Boolean(bool flag) { return Make<bool>(flag); }
    static TVariant Object(std::shared_ptr<IAutomationObject> object) {
        return Make<std::shared_ptr<IAutomationObject>>(std::move(object));
    }

    VariantKind Kind() const { return static_cast<VariantKind>(value_.index()); }
    bool IsEmpty() const { return Kind() == VariantKind::Empty; }
    bool IsNull() const { return Kind() == VariantKind::Null; }
    const Value& Get() const { return value_; }

    // The object held; raises when the value is not an object reference.
    IAutomationObject& AsObject() const;

private:
    template <typename T, typename Arg>
    static TVariant Make(Arg&& argument) {
        TVariant result;
        result.value_.emplace<T>(std::forward<Arg>(argument));
        return result;
    }

    Value value_;
};
