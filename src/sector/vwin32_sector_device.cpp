#include "vwin32_sector_device.h"

#include <cstdint>

namespace {

constexpr uint32_t kCarryFlag = 1;
constexpr uint32_t kGenericIoctl = 0x440D;          // INT 21h function 440Dh
constexpr uint32_t kLockLogicalVolume = 0x084A;     // CH = 08h disk category, CL = 4Ah
constexpr uint32_t kUnlockLogicalVolume = 0x086A;   // CL = 6Ah
constexpr uint32_t kLockLevelOne = 0x0100;          // BH = 1
constexpr uint32_t kLockPermissions = 2;

BOOL CallVwin32(HANDLE handle, DWORD code, DIOC_REGISTERS& registers)
{
    DWORD returned;
    return DeviceIoControl(handle, code, &registers, sizeof registers, &registers, sizeof registers, &returned,
                           nullptr);
}

// Lock and unlock number the drives from 1 = A:. Their outcome is not looked
// at: a transfer is tried whatever the lock did.
void SendVolumeLock(HANDLE handle, DIOC_REGISTERS& registers, int drive, uint32_t lockFunction)
{
    registers.reg_EAX = kGenericIoctl;
    registers.reg_EBX = kLockLevelOne | static_cast<uint32_t>(drive + 1);
    registers.reg_ECX = lockFunction;
    registers.reg_EDX = kLockPermissions;
    registers.reg_Flags = kCarryFlag;
    CallVwin32(handle, VWIN32_DIOC_DOS_IOCTL, registers);
}

// One sector by INT 25h or INT 26h, which number the drives from 0 = A:. The
// lock, the transfer and the unlock share one register block.
BOOL TransferSector(HANDLE handle, DWORD code, int drive, DWORD sector, const BYTE* buffer)
{
    DIOC_REGISTERS registers = {};
    SendVolumeLock(handle, registers, drive, kLockLogicalVolume);
    registers.reg_EAX = static_cast<uint32_t>(drive);
    // The device belongs to 32-bit Windows, where an address fits this 32-bit
    // register; main never chooses it on a 64-bit host.
    registers.reg_EBX = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(buffer));
    registers.reg_ECX = 1;
    registers.reg_EDX = sector;
    registers.reg_Flags = kCarryFlag;
    bool succeeded;
    if (CallVwin32(handle, code, registers))
        succeeded = (registers.reg_Flags & kCarryFlag) == 0;
    else
        succeeded = GetLastError() == 0;
    SendVolumeLock(handle, registers, drive, kUnlockLogicalVolume);
    return succeeded ? TRUE : FALSE;
}

}  // namespace

HANDLE Vwin32SectorDevice::Open(int, DWORD)
{
    DWORD error = 0;
    char name[16];
    wsprintfA(name, "\\\\.\\vwin32");
    HANDLE result = CreateFileA(name, 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (result == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        result = nullptr;
    }
    SetLastError(error);
    return result;
}

void Vwin32SectorDevice::Close(HANDLE handle)
{
    if (handle != nullptr)
        CloseHandle(handle);
}

BOOL Vwin32SectorDevice::WriteSector(HANDLE handle, int drive, DWORD sector, const BYTE* buffer)
{
    return TransferSector(handle, VWIN32_DIOC_DOS_INT26, drive, sector, buffer);
}

BOOL Vwin32SectorDevice::ReadSector(HANDLE handle, int drive, DWORD sector, BYTE* buffer)
{
    return TransferSector(handle, VWIN32_DIOC_DOS_INT25, drive, sector, buffer);
}
