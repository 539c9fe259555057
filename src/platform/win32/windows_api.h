// <windows.h> for the Win32 side of the seam. winuser.h defines ExitWindows
// as a two-argument macro, which would rewrite Desktop::ExitWindows; include
// this header instead of <windows.h> wherever the seam is also seen.
#pragma once

#include <windows.h>

#undef ExitWindows
