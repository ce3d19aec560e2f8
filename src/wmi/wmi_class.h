// The generic wrapper of one instrumentation class: one load runs "SELECT * FROM <class>" and
// copies every instance's property values into memory; a typed wrapper then selects one instance at
// a time and converts its stored values into plain fields, without asking the service again.
#pragma once

#include "wmi/automation.h"
#include "wmi/variant.h"
#include "wmi/wmi_connection.h"
#include "wmi/wmi_conversions.h"
#include "wmi/wmi_snapshot.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// Holds the service's object of one instance, keeping it alive while the instance is held.
struct TVariantValueClass {
    TVariant VariantValue;
};

inline constexpr std::size_t kWmiValueSlots = 256;

// The stored values of one instance: position k holds the property named by entry k of the
// wrapper's PropertyNames.
struct TDataWmiClass {
    // At least kWmiValueSlots positions, and one for every name of a larger class.
    explicit TDataWmiClass(std::size_t nameCount);

    std::vector<TVariant> Values;
    TVariantValueClass WmiObject;
};

// What a typed field holds, after the conversion that fills it.
enum class WmiFieldKind { Text, Word, Cardinal, Int64, Boolean, Real, DateTime };

// A property that a typed wrapper reads, and the kind of the field it fills.
struct TWmiProperty {
    const char* name;
    WmiFieldKind kind;
};

// How one field of a typed wrapper is read: its conversion, and what that gives.
template <typename Record>
struct TWmiFieldReader {
    void (*read)(Record& record, const TVariant& value);
    WmiFieldKind kind;
};

// One field of a typed wrapper: the property that fills it and how it is read.
template <typename Record>
struct TWmiField {
    const char* name;
    TWmiFieldReader<Record> reader;
};

// The kind of field a conversion function fills, told by what it returns; the date-time
// conversion returns a real too and has its own kind.
template <auto Convert>
constexpr WmiFieldKind WmiFieldKindOf() {
    using Result = decltype(Convert(std::declval<const TVariant&>()));
    if constexpr (std::is_same_v<Result, std::string>) {
        return WmiFieldKind::Text;
    } else if constexpr (std::is_same_v<Result, std::uint16_t>) {
        return WmiFieldKind::Word;
    } else if constexpr (std::is_same_v<Result, std::uint32_t>) {
        return WmiFieldKind::Cardinal;
    } else if constexpr (std::is_same_v<Result, std::int64_t>) {
        return WmiFieldKind::Int64;
    } else if constexpr (std::is_same_v<Result, bool>) {
        return WmiFieldKind::Boolean;
    } else {
        static_assert(std::is_same_v<Result, double>);
        return WmiFieldKind::Real;
    }
}

template <auto Convert>
inline constexpr WmiFieldKind kWmiFieldKind = WmiFieldKindOf<Convert>();
template <>
inline constexpr WmiFieldKind kWmiFieldKind<WmiVarToDateTime> = WmiFieldKind::DateTime;

// Reads a stored value into one field of a record with the field's conversion function.
template <typename Record, auto Member, auto Convert>
void ReadWmiValue(Record& record, const TVariant& value) {
    record.*Member = Convert(value);
}

template <typename Record, auto Member, auto Convert>
inline constexpr TWmiFieldReader<Record> ReadWmiField = {&ReadWmiValue<Record, Member, Convert>,
                                                         kWmiFieldKind<Convert>};

class TWmiClass {
public:
    // Creates the wrapper and its connection; loads at once when loadWmiData is true.
    TWmiClass(bool loadWmiData, std::string nameSpace, std::string wmiClassName,
              IAutomationFactory& automation);
    TWmiClass(const TWmiClass&) = delete;
    TWmiClass& operator=(const TWmiClass&) = delete;
    virtual ~TWmiClass();

    // Drops every instance and the selection, asks the service once and stores every value of
    // every instance. Any failure gives false, with no message.
    bool LoadWmiData();
    // The number of instances after a successful load, else -1.
    std::int32_t GetCount() const;
    // Why the last load failed; empty after a successful one.
    const std::string& LoadError() const { return loadError_; }

    // What the last load stored, as plain values (an object reference reads as null).
    TWmiClassSnapshot Snapshot() const;
    // Stores a snapshot as a load would have stored it, and selects its first instance as a load
    // does: a value of that instance that cannot be converted fails it the same way.
    bool LoadSnapshot(const TWmiClassSnapshot& snapshot);

    // Selects an instance and fills the typed fields. Out of range or already selected: nothing
    // happens. The plain wrapper has no fields and raises.
    virtual void SetCollectionIndex(std::int32_t index);
    // The first instance whose property equals the value (variant equality), or -1.
    virtual std::int32_t GetCollectionIndexByPropValue(const std::string& propName,
                                                       const TVariant& value) const;

    // The stored value of a property (name without regard to letter case) of the selected
    // instance. A name the class does not have gives null; raises std::out_of_range when no
    // instance is selected.
    TVariant GetPropValue(const std::string& propName) const;
    TVariant GetPropValueByIndex(const std::string& propName, std::int32_t index) const;

    // Frees every instance and clears the selection; the property names stay.
    void ClearInstances();

    TWmiConnection& Connection() { return connection_; }
    const std::string& WmiClassName() const { return wmiClassName_; }
    const TVariant& WmiClassObject() const { return wmiClassObject_; }
    bool Loaded() const { return loaded_; }
    const std::vector<std::string>& PropertyNames() const { return propertyNames_; }
    const std::vector<TDataWmiClass>& Instances() const { return instances_; }
    std::int32_t CurrentIndex() const { return currentIndex_; }

protected:
    // For typed wrappers, which load from their own constructor once their fields exist.
    // fieldNames stand in for the property names when the service will not list them.
    TWmiClass(std::string nameSpace, std::string wmiClassName, std::vector<std::string> fieldNames,
              IAutomationFactory& automation);

    template <typename Record, std::size_t N>
    static std::vector<std::string> FieldNames(const std::array<TWmiField<Record>, N>& fields) {
        std::vector<std::string> names;
        for (const auto& field : fields) {
            names.emplace_back(field.name);
        }
        return names;
    }

    template <typename Record, std::size_t N>
    static std::vector<TWmiProperty> PropertiesOf(const std::array<TWmiField<Record>, N>& fields) {
        std::vector<TWmiProperty> properties;
        for (const auto& field : fields) {
            properties.push_back({field.name, field.reader.kind});
        }
        return properties;
    }

    // The selection every typed wrapper makes: the index is taken before any field is read, so a
    // conversion error leaves it moved and the fields before the failing one updated.
    template <typename Record, std::size_t N>
    void SelectFields(Record& record, const std::array<TWmiField<Record>, N>& fields,
                      std::int32_t index) {
        if (index < 0 || index > static_cast<std::int32_t>(instances_.size()) - 1 ||
            index == currentIndex_) {
            return;
        }
        currentIndex_ = index;
        for (const auto& field : fields) {
            field.reader.read(record, GetPropValue(field.name));
        }
    }

private:
    std::optional<std::size_t> FindProperty(const std::string& propName) const;
    void ListPropertyNames(IAutomationObject& propertySet);
    TVariant ReadValue(IAutomationObject& propertySet, const std::string& name) const;

    TWmiConnection connection_;
    std::string wmiClassName_;
    TVariant wmiClassObject_;
    bool loaded_ = false;
    std::string loadError_;
    std::vector<std::string> propertyNames_;
    std::vector<TDataWmiClass> instances_;
    std::int32_t currentIndex_ = -1;

    std::vector<std::string> fieldNames_;
    // The service would not list the properties, so PropertyNames are the fields' names and a
    // name the service lacks reads as null.
    bool namesFromFields_ = false;
};
