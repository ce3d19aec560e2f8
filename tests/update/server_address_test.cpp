#include "update/server_address.h"

#include "slotvane_config.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ServerAddressTest, AHostTakesTheBuildsSchemeAndAnAddressKeepsItsOwn) {
    const std::string scheme = config::kServerScheme;
    EXPECT_TRUE(scheme == "http" || scheme == "https");
    EXPECT_EQ(ServerRoot("www.tarvik.com"), scheme + "://www.tarvik.com");
    EXPECT_EQ(ServerRoot("127.0.0.1:8080"), scheme + "://127.0.0.1:8080");
    EXPECT_EQ(ServerRoot("https://localhost:8443"), "https://localhost:8443");
    EXPECT_EQ(ServerRoot("http://127.0.0.1:80"), "http://127.0.0.1:80");
}

} // namespace
