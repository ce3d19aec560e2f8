// Resource identifiers shared by the resource script and the program.
#pragma once

#define IDI_SLOTVANE 1
