// A Windows API that records every call the volume device makes and fails
// the ones a test chooses, so that the device's own sequence shows.
#pragma once

#include "../src/platform/windows_api.h"

#include <string>
#include <vector>

struct FakeWindowsApi {
    std::vector<std::string> calls;
    DWORD createError = 0;     // nonzero: CreateFileA fails with it
    DWORD lockError = 0;       // nonzero: FSCTL_LOCK_VOLUME fails with it
    bool controlsFail = false; // every other DeviceIoControl fails
    bool closeFails = false;
    DWORD bytesMoved = 512;    // what ReadFile and WriteFile report
};

extern FakeWindowsApi g_fakeApi;
extern const HANDLE kFakeVolume;
