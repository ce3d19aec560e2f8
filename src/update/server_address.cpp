#include "update/server_address.h"

#include "slotvane_config.h"

std::string ServerRoot(const std::string& host) {
    if (host.find("://") != std::string::npos) {
        return host;
    }
    return std::string(config::kServerScheme) + "://" + host;
}
