#include "sector_device.h"

SectorDevice* g_sectorDevice = nullptr;
HANDLE g_diskHandle = nullptr;

int ReadDiskSector(BYTE* buffer, BYTE drive, DWORD sector)
{
    return g_sectorDevice->ReadSector(g_diskHandle, drive, sector, buffer) ? 0 : 1;
}

int WriteDiskSector(const BYTE* buffer, BYTE drive, DWORD sector)
{
    return g_sectorDevice->WriteSector(g_diskHandle, drive, sector, buffer) ? 0 : 1;
}
