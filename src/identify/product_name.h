// One stable product name for a program file, from the texts of its version resource.
#pragma once

#include "identify/identify_platform.h"
#include "identify/name_rules.h"

#include <span>
#include <string>

// The product name of the program file at path, possibly empty. path may also be one of the
// codec-pack tokens "CCCP", "QTA", "QTL", "KLITE", "KLITE64" and "KLITEMEGA" (compared exactly),
// which have fixed names. An error of a file that a rule loads (the update settings beside a
// Mozilla program, the application descriptor) reaches the caller.
std::string NormalizeProductName(const std::string& path, IIdentifyPlatform& platform);

// The product-name rule table, in its order.
std::span<const NameRule> ProductNameRules();
