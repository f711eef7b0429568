// The Windows NT family's device: the volume of the drive letter, locked from
// Open to Close and moved through with the ordinary file services.
#pragma once

#include "sector_device.h"

class VolumeSectorDevice : public SectorDevice {
public:
    HANDLE Open(int drive, DWORD access) override;
    void Close(HANDLE handle) override;
    BOOL WriteSector(HANDLE handle, int drive, DWORD sector, const BYTE* buffer) override;
    BOOL ReadSector(HANDLE handle, int drive, DWORD sector, BYTE* buffer) override;

    // Sends a volume control code without buffers: 0, or the last-error value.
    DWORD SendFsctl(HANDLE handle, DWORD code);
};
