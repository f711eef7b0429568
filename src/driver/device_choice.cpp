#include "device_choice.h"

#include "../sector/volume_sector_device.h"
#include "../sector/vwin32_sector_device.h"

#include <new>

SectorDevice* CreateSectorDevice()
{
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return new (std::nothrow) Vwin32SectorDevice;
    return new (std::nothrow) VolumeSectorDevice;
}
