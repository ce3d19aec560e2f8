// The product-specific version rules that the version detection applies at fixed points of its
// pipeline: pseudo-names, name-keyed lookups, sibling redirects, the Paint.NET rule and the two
// groups of product rules. Internal to the detection; tests reach the rules through it.
#pragma once

#include "identify/displayed_file_info.h"
#include "identify/version_detection_platform.h"
#include "identify/version_info.h"

#include <cstdint>
#include <optional>
#include <string>

// Runs the whole detection on another file (the rules that read a sibling's version).
class IDetectAnother {
public:
    virtual ~IDetectAnother() = default;
    virtual std::string Detect(std::string path) = 0;
};

// The working values of one detection that the rules read and change.
struct DetectionContext {
    IVersionDetectionPlatform& platform;
    IDetectAnother& detector;
    std::string& path; // the caller's path: some rules move it to another file
    std::string base;  // FileBaseName of path
    std::string fileName;
    std::string folder; // ends in "\"
    TDisplayedFileInfo names;
    FileVersionInfoRec info;
    std::string result;

    // Points the detection at another file; base and file name follow.
    void MoveTo(const std::string& newPath);
};

// The version of a codec-pack token ("CCCP", "KLITE64", ...); nothing for any other path.
std::optional<std::string> PseudoNameVersion(const std::string& path,
                                             IVersionDetectionPlatform& platform);

void ApplyNameKeyedLookups(DetectionContext& context);
// True when a sibling redirect applied (the result is then the sibling's version).
bool ApplySiblingRedirect(DetectionContext& context);
void ApplyPaintNetRule(DetectionContext& context);
// True when a rule of the group ends the detection.
bool ApplyGroupA(DetectionContext& context);
void ApplyGroupB(DetectionContext& context);

// The algorithms of single rules, exposed for their own tests.
std::string ProductVersionDigits(const std::string& productVersion);
std::string SwapDayAndYear(const std::string& version);
std::string FfdshowRevisionVersion(std::int32_t revision);
// The version after "install_version=DRW" in an installer log; nothing when there is none or it
// is not digits and dots (empty text included).
std::optional<std::string> EaseUsLogVersion(const std::string& logText);
