// One stable company name for a program file, from its version resource.
#pragma once

#include "identify/identify_platform.h"
#include "identify/name_rules.h"

#include <span>
#include <string>

// The company name of the program file at path (or of one of the codec-pack tokens that
// NormalizeProductName knows), possibly empty: the company text of the version resource, or its
// copyright line when that gives nothing, cleaned by NormalizeCompanyName and StripCopyrightText.
std::string GetCompanyName(const std::string& path, IIdentifyPlatform& platform);

// company cleaned by the general steps and the company rule table; path serves the rules that
// look at the file's product name or at the file itself.
std::string NormalizeCompanyName(const std::string& company, const std::string& path,
                                 IIdentifyPlatform& platform);

// The company-name rule table, in its order.
std::span<const NameRule> CompanyNameRules();
