// Digs a company name out of copyright wording such as
// "Copyright (c) 2005-2010 Foo Ltd. All rights reserved.".
#pragma once

#include <string>
#include <string_view>

// Removes copyright signs and words, years and year ranges, "All rights reserved" sentences and
// licence sentences from both ends of text, again and again until nothing more changes. Never
// fails; the result is always a piece of text, never longer.
std::string StripCopyrightText(std::string_view text);
