#include "volume_sector_device.h"

namespace {

// Closes the volume on every way out of Open that ends with an error.
class CloseOnError {
public:
    CloseOnError(HANDLE& handle, DWORD& error) : handle_(handle), error_(error) {}
    ~CloseOnError()
    {
        if (error_ != 0 && handle_ != nullptr) {
            CloseHandle(handle_);
            handle_ = nullptr;
        }
    }
    CloseOnError(const CloseOnError&) = delete;
    CloseOnError& operator=(const CloseOnError&) = delete;

private:
    HANDLE& handle_;
    DWORD& error_;
};

LONG SectorOffset(DWORD sector) { return static_cast<LONG>(sector * kSectorSize); }

}  // namespace

HANDLE VolumeSectorDevice::Open(int drive, DWORD access)
{
    DWORD error = 0;
    HANDLE held = nullptr;
    {
        CloseOnError guard(held, error);
        char name[16];
        wsprintfA(name, "\\\\.\\%c:", 'A' + drive);
        HANDLE volume = CreateFileA(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
        if (volume == INVALID_HANDLE_VALUE) {
            error = GetLastError();
        } else {
            held = volume;
            error = SendFsctl(held, FSCTL_LOCK_VOLUME);
        }
    }
    SetLastError(error);
    return held;
}

void VolumeSectorDevice::Close(HANDLE handle)
{
    if (handle == nullptr)
        return;
    // Dismounted while still locked, so that the system reads the disk afresh
    // once it is free again; each step runs whatever became of the one before.
    DWORD returned;
    DeviceIoControl(handle, FSCTL_DISMOUNT_VOLUME, nullptr, 0, nullptr, 0, &returned, nullptr);
    DeviceIoControl(handle, FSCTL_UNLOCK_VOLUME, nullptr, 0, nullptr, 0, &returned, nullptr);
    CloseHandle(handle);
}

// A transfer that moves fewer than 512 bytes has failed: past the end of a
// smaller disk the system reports success with nothing moved.
BOOL VolumeSectorDevice::WriteSector(HANDLE handle, int, DWORD sector, const BYTE* buffer)
{
    SetFilePointer(handle, SectorOffset(sector), nullptr, FILE_BEGIN);
    DWORD moved = 0;
    return WriteFile(handle, buffer, kSectorSize, &moved, nullptr) && moved == kSectorSize;
}

BOOL VolumeSectorDevice::ReadSector(HANDLE handle, int, DWORD sector, BYTE* buffer)
{
    SetFilePointer(handle, SectorOffset(sector), nullptr, FILE_BEGIN);
    DWORD moved = 0;
    return ReadFile(handle, buffer, kSectorSize, &moved, nullptr) && moved == kSectorSize;
}

DWORD VolumeSectorDevice::SendFsctl(HANDLE handle, DWORD code)
{
    DWORD returned;
    return DeviceIoControl(handle, code, nullptr, 0, nullptr, 0, &returned, nullptr) ? 0 : GetLastError();
}
