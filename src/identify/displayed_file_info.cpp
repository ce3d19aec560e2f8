#include "identify/displayed_file_info.h"

#include "identify/company_name.h"
#include "identify/product_name.h"
#include "identify/string_helpers.h"

TDisplayedFileInfo GetDisplayedFileInfo(const std::string& path, IIdentifyPlatform& platform) {
    const IdentificationScope identification(platform);
    const std::string native = platform.NativeSystemPath(path);
    TDisplayedFileInfo info{NormalizeProductName(native, platform),
                            GetCompanyName(native, platform)};
    if (info.Product.empty() && !info.Company.empty()) {
        info.Product = FileBaseName(native);
    }
    return info;
}
