#include "wmi/wmi_connection.h"

namespace {

constexpr std::int32_t kImpersonate = 3;

} // namespace

TWmiConnection::~TWmiConnection() {
    Locator = TVariant();
    Services = TVariant();
}

void TWmiConnection::Connect(bool force) {
    if (!force && Connected) {
        return;
    }
    Locator = TVariant::Object(automation_.CreateObject(kWbemLocatorProgId));
    Services = Locator.AsObject().Invoke("ConnectServer",
                                         {TVariant::Text(Server), TVariant::Text(Namespace),
                                          TVariant::Text(User), TVariant::Text(Password)});
    if (!IsLocal) {
        Services.AsObject()
            .Invoke("Security_", {})
            .AsObject()
            .SetProperty("ImpersonationLevel", TVariant::Int32(kImpersonate));
    }
    Connected = true;
}
