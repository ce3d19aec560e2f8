// The automation seam: objects whose members are invoked by name with variant arguments, as the
// instrumentation service's scripting objects are. The Windows side drives the real objects
// through IDispatch; tests drive fakes.
#pragma once

#include "wmi/variant.h"

#include <memory>
#include <string>
#include <vector>

class IAutomationEnumerator {
public:
    virtual ~IAutomationEnumerator() = default;
    // The next element, one at a time; false ends the enumeration (its end or any failure).
    virtual bool Next(TVariant& element) = 0;
};

class IAutomationObject {
public:
    virtual ~IAutomationObject() = default;
    // Calls a method or reads a property by name; raises when the object refuses.
    virtual TVariant Invoke(const std::string& member, const std::vector<TVariant>& arguments) = 0;
    // Writes a property by name; raises when the object refuses.
    virtual void SetProperty(const std::string& member, const TVariant& value) = 0;
    // The object's _NewEnum as an enumerator of variants; raises when the object refuses.
    virtual std::unique_ptr<IAutomationEnumerator> NewEnum() = 0;
};

class IAutomationFactory {
public:
    virtual ~IAutomationFactory() = default;
    // Creates an object from its programmatic identifier; raises when that fails.
    virtual std::shared_ptr<IAutomationObject> CreateObject(const std::string& progId) = 0;
};

// A factory that creates nothing (every call raises): the seam of records that are filled from
// stored values and never ask the service.
IAutomationFactory& NoAutomation();
