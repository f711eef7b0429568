// The one seam between the commands and the disk: open a floppy drive,
// move single 512-byte sectors by number, close it again.
#pragma once

#include "../platform/windows_api.h"

#include <cstddef>

constexpr DWORD kSectorSize = 512;

class SectorDevice {
public:
    virtual ~SectorDevice() = default;
    // Returns the disk handle, or null with the failed step's last-error value.
    virtual HANDLE Open(int drive, DWORD access) = 0;
    // Releases what Open acquired; a null handle does nothing.
    virtual void Close(HANDLE handle) = 0;
    virtual BOOL WriteSector(HANDLE handle, int drive, DWORD sector, const BYTE* buffer) = 0;
    virtual BOOL ReadSector(HANDLE handle, int drive, DWORD sector, BYTE* buffer) = 0;
};

extern SectorDevice* g_sectorDevice;
extern HANDLE g_diskHandle;

// Transfers on g_diskHandle through g_sectorDevice: 0 on success, 1 on failure.
int ReadDiskSector(BYTE* buffer, BYTE drive, DWORD sector);
int WriteDiskSector(const BYTE* buffer, BYTE drive, DWORD sector);
