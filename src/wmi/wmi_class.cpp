#include "wmi/wmi_class.h"

#include "util/os_error.h"
#include "wmi/wmi_conversions.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace {

// The service's return-immediately flag (16) plus its forward-only flag (32).
constexpr std::int32_t kQueryFlags = 48;

// How a service says that it will not enumerate a property set or name a property: "not
// implemented", "member not found", or the automation exception (Wine's answer).
constexpr std::uint32_t kRefusals[] = {0x80004001, 0x80020003, 0x80020009};

// The service's "not found" (WBEM_E_NOT_FOUND), for a property its class does not have.
constexpr std::uint32_t kPropertyNotFound = 0x80041002;

bool IsRefusal(const OSError& error) {
    return std::find(std::begin(kRefusals), std::end(kRefusals), error.Code()) !=
           std::end(kRefusals);
}

bool SameNameIgnoringCase(const std::string& left, const std::string& right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        return lower(a) == lower(b);
    });
}

} // namespace

TDataWmiClass::TDataWmiClass(std::size_t nameCount) : Values(std::max(kWmiValueSlots, nameCount)) {}

TWmiClass::TWmiClass(bool loadWmiData, std::string nameSpace, std::string wmiClassName,
                     IAutomationFactory& automation)
    : TWmiClass(std::move(nameSpace), std::move(wmiClassName), {}, automation) {
    if (loadWmiData) {
        LoadWmiData();
    }
}

TWmiClass::TWmiClass(std::string nameSpace, std::string wmiClassName,
                     std::vector<std::string> fieldNames, IAutomationFactory& automation)
    : connection_(automation), wmiClassName_(std::move(wmiClassName)),
      fieldNames_(std::move(fieldNames)) {
    connection_.Namespace = std::move(nameSpace);
}

TWmiClass::~TWmiClass() {
    ClearInstances();
}

bool TWmiClass::LoadWmiData() {
    ClearInstances();
    loadError_.clear();
    bool outcome = true;
    try {
        connection_.Connect(false);
        const std::string query = "SELECT * FROM " + wmiClassName_;
        IAutomationObject& services = connection_.Services.AsObject();
        const TVariant objectSet =
            services.Invoke("ExecQuery", {TVariant::Text(query), TVariant::Text("WQL"),
                                          TVariant::Int32(kQueryFlags)});
        const auto enumerator = objectSet.AsObject().NewEnum();
        // A class the namespace does not have fails here: a failed load, not an empty one. The
        // third argument, the named-value set, is a null object reference: a null value is no
        // object and some implementations refuse it.
        wmiClassObject_ = services.Invoke(
            "Get", {TVariant::Text(wmiClassName_), TVariant::Int32(0), TVariant::Object(nullptr)});

        TVariant object;
        while (enumerator->Next(object)) {
            const TVariant propertySet = object.AsObject().Invoke("Properties_", {});
            if (propertyNames_.empty()) {
                ListPropertyNames(propertySet.AsObject());
            }
            TDataWmiClass& instance = instances_.emplace_back(propertyNames_.size());
            instance.WmiObject.VariantValue = std::move(object);
            for (std::size_t k = 0; k < propertyNames_.size(); ++k) {
                instance.Values[k] = ReadValue(propertySet.AsObject(), propertyNames_[k]);
            }
        }
        if (!instances_.empty()) {
            SetCollectionIndex(0);
        }
    } catch (const std::exception& error) {
        outcome = false;
        loadError_ = error.what();
    } catch (...) {
        outcome = false;
        loadError_ = "unknown error";
    }
    loaded_ = outcome;
    return outcome;
}

TWmiClassSnapshot TWmiClass::Snapshot() const {
    TWmiClassSnapshot snapshot;
    snapshot.loaded = loaded_;
    snapshot.error = loadError_;
    snapshot.propertyNames = propertyNames_;
    for (const TDataWmiClass& instance : instances_) {
        auto& values = snapshot.instances.emplace_back();
        for (std::size_t k = 0; k < propertyNames_.size(); ++k) {
            const TVariant& value = instance.Values[k];
            values.push_back(value.Kind() == VariantKind::Object ? TVariant::Null() : value);
        }
    }
    return snapshot;
}

bool TWmiClass::LoadSnapshot(const TWmiClassSnapshot& snapshot) {
    ClearInstances();
    loadError_ = snapshot.error;
    propertyNames_ = snapshot.propertyNames;
    bool outcome = snapshot.loaded;
    if (outcome) {
        try {
            for (const auto& values : snapshot.instances) {
                TDataWmiClass& instance = instances_.emplace_back(propertyNames_.size());
                const std::size_t count = std::min(values.size(), propertyNames_.size());
                std::copy_n(values.begin(), count, instance.Values.begin());
                std::fill(instance.Values.begin() + static_cast<std::ptrdiff_t>(count),
                          instance.Values.begin() +
                              static_cast<std::ptrdiff_t>(propertyNames_.size()),
                          TVariant::Null());
            }
            if (!instances_.empty()) {
                SetCollectionIndex(0);
            }
        } catch (const std::exception& error) {
            outcome = false;
            loadError_ = error.what();
        }
    }
    loaded_ = outcome;
    return outcome;
}

void TWmiClass::ListPropertyNames(IAutomationObject& propertySet) {
    // Some implementations of the service (Wine's among them) will not enumerate a property set or
    // name a property, while Item and Value work: read the wrapper's own fields by name then. Any
    // other failure fails the load.
    try {
        std::vector<std::string> names;
        const auto enumerator = propertySet.NewEnum();
        TVariant property;
        while (enumerator->Next(property)) {
            names.push_back(WmiVarToText(property.AsObject().Invoke("Name", {})));
        }
        propertyNames_ = std::move(names);
    } catch (const OSError& error) {
        if (!IsRefusal(error)) {
            throw;
        }
        propertyNames_ = fieldNames_;
        namesFromFields_ = true;
    }
}

TVariant TWmiClass::ReadValue(IAutomationObject& propertySet, const std::string& name) const {
    const auto read = [&] {
        return propertySet.Invoke("Item", {TVariant::Text(name)}).AsObject().Invoke("Value", {});
    };
    if (!namesFromFields_) {
        return read();
    }
    // A field's name that the service's class lacks reads as null; any other failure fails the
    // load, as it does when the names came from the service.
    try {
        return read();
    } catch (const OSError& error) {
        if (error.Code() != kPropertyNotFound) {
            throw;
        }
        return TVariant::Null();
    }
}

std::int32_t TWmiClass::GetCount() const {
    return loaded_ ? static_cast<std::int32_t>(instances_.size()) : -1;
}

void TWmiClass::SetCollectionIndex(std::int32_t) {
    throw std::runtime_error("You must override this method SetCollectionIndex");
}

std::int32_t TWmiClass::GetCollectionIndexByPropValue(const std::string& propName,
                                                      const TVariant& value) const {
    if (!loaded_) {
        return -1;
    }
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(instances_.size()); ++i) {
        if (VariantEquals(GetPropValueByIndex(propName, i), value)) {
            return i;
        }
    }
    return -1;
}

std::optional<std::size_t> TWmiClass::FindProperty(const std::string& propName) const {
    for (std::size_t k = 0; k < propertyNames_.size(); ++k) {
        if (SameNameIgnoringCase(propertyNames_[k], propName)) {
            return k;
        }
    }
    return std::nullopt;
}

TVariant TWmiClass::GetPropValue(const std::string& propName) const {
    return GetPropValueByIndex(propName, currentIndex_);
}

TVariant TWmiClass::GetPropValueByIndex(const std::string& propName, std::int32_t index) const {
    const auto k = FindProperty(propName);
    if (!k) {
        return TVariant::Null();
    }
    if (index < 0 || index >= static_cast<std::int32_t>(instances_.size())) {
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    }
    return instances_[static_cast<std::size_t>(index)].Values[*k];
}

void TWmiClass::ClearInstances() {
    instances_.clear();
    currentIndex_ = -1;
}
