// One class's answer from the instrumentation service as plain values: what a load stored,
// without the service's objects, so that it can cross threads or come from a saved report.
#pragma once

#include "wmi/variant.h"

#include <string>
#include <vector>

struct TWmiClassSnapshot {
    bool loaded = false; // false when the query failed
    std::string error;   // why the query failed
    std::vector<std::string> propertyNames;
    // One row per instance, its values in the order of propertyNames; never an object reference.
    std::vector<std::vector<TVariant>> instances;
};
