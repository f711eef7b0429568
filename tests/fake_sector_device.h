// A SectorDevice over a disk in memory that fails the operations a test
// chooses, counts Open and Close, and logs every call in order.
#pragma once

#include "../src/sector/sector_device.h"
#include "test_files.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class FakeSectorDevice : public SectorDevice {
public:
    explicit FakeSectorDevice(uint32_t sectors = 1440) : disk(DiskPattern(sectors)) {}

    HANDLE Open(int drive, DWORD access) override;
    void Close(HANDLE handle) override;
    BOOL WriteSector(HANDLE handle, int drive, DWORD sector, const BYTE* buffer) override;
    BOOL ReadSector(HANDLE handle, int drive, DWORD sector, BYTE* buffer) override;

    Bytes disk;
    bool failOpen = false;
    std::set<DWORD> unreadable;
    std::set<DWORD> unwritable;
    std::function<void()> onClose;  // runs inside Close, while the command waits

    int opens = 0;
    int closes = 0;
    int openedDrive = -1;
    DWORD openedAccess = 0;
    std::set<int> transferDrives;
    std::vector<std::string> calls;  // "Open", "Close", "Read 5", "Write 0"

    HANDLE handle() const { return reinterpret_cast<HANDLE>(0x5EC7); }
};

// Installs a device as g_sectorDevice for the life of a test.
class InstalledDevice {
public:
    explicit InstalledDevice(SectorDevice& device) { g_sectorDevice = &device; g_diskHandle = nullptr; }
    ~InstalledDevice() { g_sectorDevice = nullptr; }
};
