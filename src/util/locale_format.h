// Number formatting settings of the user's locale.
#pragma once

#include <string>

// The decimal separator the user has chosen (GBK); "." when the system cannot tell.
std::string UserDecimalSeparator();
