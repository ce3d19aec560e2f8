// The platform's own reading of version resources: on Windows the system's version functions,
// natively the resource parser. ReadVersionStrings uses it as its fallback read.
#pragma once

#include "identify/version_resource.h"

#include <memory>
#include <optional>
#include <string>

class IVersionApi {
public:
    virtual ~IVersionApi() = default;

    // The file's version resource as the platform loads it; nothing when its size is 0 (the file
    // has none), loading fails, or (on Windows) the resource parser has not found the resource
    // lying wholly inside the file.
    virtual std::optional<std::string> Load(const std::string& path) = 0;

    // The text at a sub-block path of a loaded resource, cut to the resource and stopped at its
    // first NUL; nothing when the query fails.
    virtual std::optional<std::u16string> QueryText(const std::string& resource,
                                                    const std::string& subBlock) = 0;

    // The first entry of "\VarFileInfo\Translation"; nothing when there is none.
    virtual std::optional<VersionTranslation> FirstTranslation(const std::string& resource) = 0;
};

// The resource parser over the file's bytes; the native build's platform reading.
class ParsedVersionApi final : public IVersionApi {
public:
    std::optional<std::string> Load(const std::string& path) override;
    std::optional<std::u16string> QueryText(const std::string& resource,
                                            const std::string& subBlock) override;
    std::optional<VersionTranslation> FirstTranslation(const std::string& resource) override;
};

// The file's version resource as the parser reads it, which reads only the bytes it needs (the
// system's reading loads the whole module and costs milliseconds, which a detection asking
// several times would feel, and is never given a file the parser finds nothing in).
std::optional<std::string> LoadVersionResource(const std::string& path);

// The platform's reading: version_api_win.cpp, version_api_posix.cpp.
std::unique_ptr<IVersionApi> MakeSystemVersionApi();
