// Finds the version that a program's maker would call its version.
#pragma once

#include "identify/version_detection_platform.h"

#include <string>

// The version of the program file as text (not reformatted: it may have fewer or more than four
// parts, or be empty); "File not found" when the file does not exist. path is updated in place
// to the path the detection examined. A detection that would run again on a file it is already
// examining further up the same chain answers that file's fixed version instead, and nested
// detections stop a few levels deep, so no set of files can make it recurse without end.
std::string DetectFileVersion(std::string& path, IVersionDetectionPlatform& platform);
