// Last-error value, version query and name formatting over POSIX.
#include "posix_windows.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;
DWORD g_reportedPlatform = VER_PLATFORM_WIN32_NT;

// wsprintfA never writes more than 1024 characters and the terminator.
constexpr size_t kWsprintfLimit = 1025;

}  // namespace

DWORD GetLastError() { return t_lastError; }

void SetLastError(DWORD error) { t_lastError = error; }

void SetReportedPlatform(DWORD platformId) { g_reportedPlatform = platformId; }

BOOL GetVersionExA(OSVERSIONINFOA* info)
{
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::memset(reinterpret_cast<char*>(info) + sizeof(info->dwOSVersionInfoSize), 0,
                sizeof(OSVERSIONINFOA) - sizeof(info->dwOSVersionInfoSize));
    info->dwMajorVersion = 6;
    info->dwPlatformId = g_reportedPlatform;
    return TRUE;
}

int wsprintfA(LPSTR out, LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(out, kWsprintfLimit, format, args);
    va_end(args);
    if (written < 0)
        return 0;
    return written < static_cast<int>(kWsprintfLimit) ? written : static_cast<int>(kWsprintfLimit) - 1;
}
