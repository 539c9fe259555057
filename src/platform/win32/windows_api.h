// <windows.h> for code that also sees the seam: winuser.h defines
// ExitWindows as a two-argument macro, which would rewrite the seam's
// Desktop::ExitWindows. Include this header instead of <windows.h>.
#pragma once

#include <windows.h>

#undef ExitWindows
