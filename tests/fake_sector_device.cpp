#include "fake_sector_device.h"

#include <cstring>

HANDLE FakeSectorDevice::Open(int drive, DWORD access)
{
    ++opens;
    openedDrive = drive;
    openedAccess = access;
    calls.push_back("Open");
    return failOpen ? nullptr : handle();
}

void FakeSectorDevice::Close(HANDLE closed)
{
    ++closes;
    calls.push_back(closed == handle() ? "Close" : "Close of a stranger");
    if (onClose)
        onClose();
}

BOOL FakeSectorDevice::WriteSector(HANDLE used, int drive, DWORD sector, const BYTE* buffer)
{
    calls.push_back("Write " + std::to_string(sector));
    transferDrives.insert(drive);
    if (used != handle() || unwritable.count(sector) != 0 || (sector + 1) * 512 > disk.size())
        return FALSE;
    std::memcpy(disk.data() + sector * 512, buffer, 512);
    return TRUE;
}

// A failed read leaves bytes of its own in the buffer, as a real drive may.
BOOL FakeSectorDevice::ReadSector(HANDLE used, int drive, DWORD sector, BYTE* buffer)
{
    calls.push_back("Read " + std::to_string(sector));
    transferDrives.insert(drive);
    if (used != handle() || unreadable.count(sector) != 0 || (sector + 1) * 512 > disk.size()) {
        std::memset(buffer, 0xEE, 512);
        return FALSE;
    }
    std::memcpy(buffer, disk.data() + sector * 512, 512);
    return TRUE;
}
