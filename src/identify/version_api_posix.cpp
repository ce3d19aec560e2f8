#include "identify/version_api.h"

std::unique_ptr<IVersionApi> MakeSystemVersionApi() {
    return std::make_unique<ParsedVersionApi>();
}
