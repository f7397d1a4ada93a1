#pragma once

// The resource id of the program's icon, for claverix.rc and for the windows
// that show the icon. A macro: the resource compiler reads this file too.
#define IDI_PROGRAM 1
