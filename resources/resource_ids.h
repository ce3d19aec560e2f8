// Resource identifiers shared by the resource script and the program.
#pragma once

#define IDI_SLOTVANE 1
#define IDI_EMPTY_SLOT 2
#define IDI_DRIVERS 3
#define IDI_SEARCH 4
#define IDB_ABOUT_BANNER 5
