// The Windows API as the devices and the driver see it: the real <windows.h>
// on Windows, and our own declarations over POSIX everywhere else.
#pragma once

#ifdef _WIN32
#include <windows.h>
// A Windows path never begins with "/", so such a word is always an option.
constexpr bool kPathsBeginWithSlash = false;
#else
#include "posix_windows.h"
// Every absolute path begins with "/", so such a word may be a parameter.
constexpr bool kPathsBeginWithSlash = true;
#endif

#include "vwin32.h"
