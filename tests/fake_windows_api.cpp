#include "fake_windows_api.h"

#include <cstdarg>
#include <cstdio>

FakeWindowsApi g_fakeApi;
const HANDLE kFakeVolume = reinterpret_cast<HANDLE>(0x7001);

namespace {

DWORD g_lastError = 0;

std::string HandleName(HANDLE handle) { return handle == kFakeVolume ? "volume" : "stranger"; }

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

}  // namespace

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security, DWORD creation,
                   DWORD flags, HANDLE templateFile)
{
    g_fakeApi.calls.push_back(std::string("CreateFileA ") + name + " " + Hex(access) + " " + std::to_string(shareMode)
                              + (security ? " security" : " -") + " " + std::to_string(creation) + " "
                              + std::to_string(flags) + (templateFile ? " template" : " -"));
    if (g_fakeApi.createError != 0) {
        g_lastError = g_fakeApi.createError;
        return INVALID_HANDLE_VALUE;
    }
    return kFakeVolume;
}

BOOL CloseHandle(HANDLE handle)
{
    g_fakeApi.calls.push_back("CloseHandle " + HandleName(handle));
    return g_fakeApi.closeFails ? FALSE : TRUE;
}

BOOL DeviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                     LPDWORD returned, LPOVERLAPPED overlapped)
{
    const bool noBuffers = in == nullptr && inSize == 0 && out == nullptr && outSize == 0;
    g_fakeApi.calls.push_back("DeviceIoControl " + HandleName(handle) + " " + Hex(code)
                              + (noBuffers ? " no buffers" : " buffers") + (returned ? "" : " no count")
                              + (overlapped ? " overlapped" : ""));
    if (code == FSCTL_LOCK_VOLUME && g_fakeApi.lockError != 0) {
        g_lastError = g_fakeApi.lockError;
        return FALSE;
    }
    if (code != FSCTL_LOCK_VOLUME && g_fakeApi.controlsFail) {
        g_lastError = ERROR_INVALID_FUNCTION;
        return FALSE;
    }
    return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh, DWORD method)
{
    g_fakeApi.calls.push_back("SetFilePointer " + HandleName(handle) + " " + std::to_string(distance)
                              + (distanceHigh ? " high" : " -") + " " + std::to_string(method));
    return static_cast<DWORD>(distance);
}

BOOL ReadFile(HANDLE handle, LPVOID, DWORD size, LPDWORD moved, LPOVERLAPPED)
{
    g_fakeApi.calls.push_back("ReadFile " + HandleName(handle) + " " + std::to_string(size));
    *moved = g_fakeApi.bytesMoved;
    return TRUE;
}

BOOL WriteFile(HANDLE handle, LPCVOID, DWORD size, LPDWORD moved, LPOVERLAPPED)
{
    g_fakeApi.calls.push_back("WriteFile " + HandleName(handle) + " " + std::to_string(size));
    *moved = g_fakeApi.bytesMoved;
    return TRUE;
}

DWORD GetLastError() { return g_lastError; }

void SetLastError(DWORD error) { g_lastError = error; }

int wsprintfA(LPSTR out, LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(out, 1025, format, args);
    va_end(args);
    return written;
}
