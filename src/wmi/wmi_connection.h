// One connection to a namespace of the instrumentation service, through its scripting locator.
#pragma once

#include "wmi/automation.h"
#include "wmi/variant.h"

#include <string>

inline constexpr char kWbemLocatorProgId[] = "WbemScripting.SWbemLocator";

class TWmiConnection {
public:
    explicit TWmiConnection(IAutomationFactory& automation) : automation_(automation) {}
    TWmiConnection(const TWmiConnection&) = delete;
    TWmiConnection& operator=(const TWmiConnection&) = delete;
    // Releases the service's objects: the locator, then the services object.
    ~TWmiConnection();

    // Connects when forced or not yet connected. Errors pass to the caller and leave the
    // connection unconnected, so the next call tries again.
    void Connect(bool force);

    TVariant Locator;
    TVariant Services;
    std::string Server = "localhost";
    std::string User;
    std::string Password;
    std::string Namespace;
    bool Connected = false;
    // Only a remote connection raises the impersonation level.
    bool IsLocal = true;

private:
    IAutomationFactory& automation_;
};
