// The Windows 95/98/Me family's device: MS-DOS absolute disk reads and
// writes through the VWIN32 system device, each inside a lock of the
// logical volume.
#pragma once

#include "sector_device.h"

class Vwin32SectorDevice : public SectorDevice {
public:
    HANDLE Open(int drive, DWORD access) override;
    void Close(HANDLE handle) override;
    BOOL WriteSector(HANDLE handle, int drive, DWORD sector, const BYTE* buffer) override;
    BOOL ReadSector(HANDLE handle, int drive, DWORD sector, BYTE* buffer) override;
};
