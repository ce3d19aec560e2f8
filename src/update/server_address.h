// Where the maker's web server is reached: the scheme the build names and the host.
#pragma once

#include <string>

// "scheme://host" for a host (with its port when it has one) on the maker's web server, in the
// build's scheme (plain http unless the build names https). A host given with a scheme of its own
// ("https://localhost:8443", as the tests give theirs) keeps it.
std::string ServerRoot(const std::string& host);
