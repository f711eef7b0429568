// Drive letters and files over POSIX: "\\.\X:" opens the block device or
// image file behind drive X, any other name the file of that path; the
// volume control codes lock, dismount and unlock a drive, and the file
// services move bytes at the handle's position.
#include "posix_windows.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One page: O_DIRECT transfers need memory aligned to the device's blocks.
constexpr size_t kBounceSize = 4096;

struct DriveHandle {
    std::string path;
    int fd = -1;
    int exclusiveFd = -1;  // block device: the O_EXCL open that holds the lock
    bool blockDevice = false;
    bool writable = false;
    bool locked = false;
    off_t position = 0;  // -1 after a failed seek
    off_t imageSize = 0;  // image file: the size of the disk it stands for
    void* bounce = nullptr;
};

std::set<DriveHandle*> g_drives;
Vwin32StandIn* g_vwin32StandIn = nullptr;
std::set<HANDLE> g_vwin32Handles;

DWORD ErrorFromErrno(int error)
{
    switch (error) {
    case ENOENT: case ENOTDIR: case ENODEV:
        return ERROR_FILE_NOT_FOUND;
    case EACCES: case EPERM: case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case ENOMEDIUM: case ENXIO:
        return ERROR_NOT_READY;
    case EBUSY: case EWOULDBLOCK:
        return ERROR_LOCK_VIOLATION;
    case EIO: case ENODATA: case EILSEQ: case EBADMSG:
        return ERROR_CRC;
    case ENOSPC: case EINVAL: case EOVERFLOW:
        return ERROR_SECTOR_NOT_FOUND;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_GEN_FAILURE;
    }
}

template <typename Result>
Result Fail(DWORD error, Result result)
{
    SetLastError(error);
    return result;
}

BOOL FailFromErrno() { return Fail(ErrorFromErrno(errno), FALSE); }

bool IsVwin32Name(LPCSTR name) { return strcasecmp(name, "\\\\.\\vwin32") == 0; }

bool IsDeviceName(LPCSTR name) { return std::strncmp(name, "\\\\.\\", 4) == 0; }

// The path behind "\\.\X:", or null when the name is no drive or the letter has none.
const char* DrivePath(LPCSTR name)
{
    if (!std::isalpha(static_cast<unsigned char>(name[4])) || std::strcmp(name + 5, ":") != 0)
        return nullptr;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[4])));
    const std::string variable = std::string("VLDK_DRIVE_") + letter;
    const char* path = std::getenv(variable.c_str());
    if (path != nullptr)
        return *path != '\0' ? path : nullptr;
    if (letter == 'A')
        return "/dev/fd0";
    if (letter == 'B')
        return "/dev/fd1";
    return nullptr;
}

DWORD AttributesOf(const struct stat& status)
{
    return S_ISDIR(status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

DriveHandle* FindDrive(HANDLE handle)
{
    auto found = g_drives.find(static_cast<DriveHandle*>(handle));
    return found != g_drives.end() ? *found : nullptr;
}

void ReleaseDrive(DriveHandle* drive)
{
    if (drive->exclusiveFd >= 0)
        close(drive->exclusiveFd);
    if (drive->fd >= 0)
        close(drive->fd);
    std::free(drive->bounce);
    g_drives.erase(drive);
    delete drive;
}

HANDLE AbandonOpen(DriveHandle* drive, DWORD error)
{
    ReleaseDrive(drive);
    return Fail(error, INVALID_HANDLE_VALUE);
}

// Opens a drive's path, or any other path when extraFlags has O_NONBLOCK, so
// that a FIFO does not wait for a writer. Write access that the disk refuses
// fails the open: a disk is not opened for less than was asked. The floppy
// driver refuses it itself (EROFS); other block devices open, and say that
// they are read-only when asked.
HANDLE OpenPath(const char* path, DWORD access, int extraFlags)
{
    auto* drive = new DriveHandle;
    g_drives.insert(drive);
    drive->path = path;
    drive->writable = (access & GENERIC_WRITE) != 0;
    drive->fd = open(path, (drive->writable ? O_RDWR : O_RDONLY) | O_CLOEXEC | extraFlags);
    struct stat status;
    if (drive->fd < 0 || fstat(drive->fd, &status) != 0)
        return AbandonOpen(drive, ErrorFromErrno(errno));
    // A block device is reached past the page cache, so that every sector
    // write is on the device, or reported as failed, before WriteFile returns,
    // and a read fails only for the sector that cannot be read.
    drive->blockDevice = S_ISBLK(status.st_mode);
    drive->imageSize = status.st_size;
    if (drive->blockDevice) {
        int readOnly = 0;
        if (drive->writable && ioctl(drive->fd, BLKROGET, &readOnly) == 0 && readOnly != 0)
            return AbandonOpen(drive, ERROR_WRITE_PROTECT);
        const int statusFlags = fcntl(drive->fd, F_GETFL);
        if (statusFlags < 0 || fcntl(drive->fd, F_SETFL, statusFlags | O_DIRECT) != 0)
            return AbandonOpen(drive, ErrorFromErrno(errno));
    }
    if (posix_memalign(&drive->bounce, kBounceSize, kBounceSize) != 0) {
        drive->bounce = nullptr;
        return AbandonOpen(drive, ERROR_NOT_ENOUGH_MEMORY);
    }
    return drive;
}

struct flock WholeFileLock(short type)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

// Exclusive use of the drive. A block device is refused while it is mounted
// or opened exclusively elsewhere; an image file while another program holds
// a lock on it, of either kind that Linux programs take.
BOOL LockVolume(DriveHandle* drive)
{
    if (drive->locked)
        return Fail(ERROR_LOCK_VIOLATION, FALSE);
    if (drive->blockDevice) {
        drive->exclusiveFd = open(drive->path.c_str(), O_RDONLY | O_EXCL | O_CLOEXEC);
        if (drive->exclusiveFd < 0)
            return FailFromErrno();
    } else {
        if (flock(drive->fd, LOCK_EX | LOCK_NB) != 0)
            return FailFromErrno();
        struct flock lock = WholeFileLock(drive->writable ? F_WRLCK : F_RDLCK);
        if (fcntl(drive->fd, F_OFD_SETLK, &lock) != 0) {
            const DWORD error = ErrorFromErrno(errno == EAGAIN || errno == EACCES ? EWOULDBLOCK : errno);
            flock(drive->fd, LOCK_UN);
            return Fail(error, FALSE);
        }
    }
    drive->locked = true;
    return TRUE;
}

BOOL UnlockVolume(DriveHandle* drive)
{
    if (!drive->locked)
        return Fail(ERROR_NOT_LOCKED, FALSE);
    if (drive->blockDevice) {
        close(drive->exclusiveFd);
        drive->exclusiveFd = -1;
    } else {
        struct flock lock = WholeFileLock(F_UNLCK);
        fcntl(drive->fd, F_OFD_SETLK, &lock);
        flock(drive->fd, LOCK_UN);
    }
    drive->locked = false;
    return TRUE;
}

// Writes everything out and drops the kernel's cached copy of a block device,
// so that a file system mounted afterwards reads what was written.
BOOL DismountVolume(DriveHandle* drive)
{
    if (fsync(drive->fd) != 0)
        return FailFromErrno();
    if (drive->blockDevice && ioctl(drive->fd, BLKFLSBUF, 0) != 0)
        return FailFromErrno();
    return TRUE;
}

}  // namespace

void InstallVwin32StandIn(Vwin32StandIn* standIn)
{
    g_vwin32StandIn = standIn;
    g_vwin32Handles.clear();
}

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creation, DWORD flags, HANDLE templateFile)
{
    if (name == nullptr)
        return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    if (!IsDeviceName(name))
        return OpenPath(name, access, O_NONBLOCK);
    if (IsVwin32Name(name)) {
        if (g_vwin32StandIn == nullptr)
            return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
        HANDLE handle = g_vwin32StandIn->Create(access, shareMode, security, creation, flags, templateFile);
        if (handle != INVALID_HANDLE_VALUE)
            g_vwin32Handles.insert(handle);
        return handle;
    }
    const char* path = DrivePath(name);
    if (path == nullptr)
        return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    return OpenPath(path, access, 0);
}

BOOL GetFileInformationByHandle(HANDLE handle, BY_HANDLE_FILE_INFORMATION* information)
{
    DriveHandle* drive = FindDrive(handle);
    if (drive == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    struct stat status;
    if (fstat(drive->fd, &status) != 0)
        return FailFromErrno();
    *information = {};
    information->dwFileAttributes = AttributesOf(status);
    information->dwVolumeSerialNumber = static_cast<DWORD>(status.st_dev);
    information->nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(status.st_size) >> 32);
    information->nFileSizeLow = static_cast<DWORD>(status.st_size);
    information->nNumberOfLinks = static_cast<DWORD>(status.st_nlink);
    information->nFileIndexHigh = static_cast<DWORD>(static_cast<uint64_t>(status.st_ino) >> 32);
    information->nFileIndexLow = static_cast<DWORD>(status.st_ino);
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR name)
{
    struct stat status;
    if (stat(name, &status) != 0)
        return Fail(ErrorFromErrno(errno), INVALID_FILE_ATTRIBUTES);
    return AttributesOf(status);
}

BOOL CloseHandle(HANDLE handle)
{
    if (g_vwin32Handles.erase(handle) != 0)
        return g_vwin32StandIn->Close(handle);
    DriveHandle* drive = FindDrive(handle);
    if (drive == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    ReleaseDrive(drive);
    return TRUE;
}

BOOL DeviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                     LPDWORD returned, LPOVERLAPPED overlapped)
{
    if (g_vwin32Handles.count(handle) != 0)
        return g_vwin32StandIn->Control(handle, code, in, inSize, out, outSize, returned, overlapped);
    DriveHandle* drive = FindDrive(handle);
    if (drive == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (returned != nullptr)
        *returned = 0;
    switch (code) {
    case FSCTL_LOCK_VOLUME:
        return LockVolume(drive);
    case FSCTL_UNLOCK_VOLUME:
        return UnlockVolume(drive);
    case FSCTL_DISMOUNT_VOLUME:
        return DismountVolume(drive);
    default:
        return Fail(ERROR_INVALID_FUNCTION, FALSE);
    }
}

// A failed seek leaves no valid position, so that the next transfer fails
// instead of moving bytes at a position that was not asked for.
DWORD SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh, DWORD method)
{
    DriveHandle* drive = FindDrive(handle);
    if (drive == nullptr)
        return Fail(ERROR_INVALID_HANDLE, INVALID_SET_FILE_POINTER);
    const off_t offset = distanceHigh != nullptr
        ? static_cast<off_t>((static_cast<uint64_t>(static_cast<uint32_t>(*distanceHigh)) << 32)
                             | static_cast<uint32_t>(distance))
        : static_cast<off_t>(distance);
    const off_t position = lseek(drive->fd, offset, static_cast<int>(method));
    drive->position = position;
    if (position < 0)
        return Fail(ErrorFromErrno(errno), INVALID_SET_FILE_POINTER);
    if (distanceHigh != nullptr)
        *distanceHigh = static_cast<LONG>(static_cast<uint64_t>(position) >> 32);
    return static_cast<DWORD>(position);
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD moved, LPOVERLAPPED)
{
    DriveHandle* drive = FindDrive(handle);
    if (moved != nullptr)
        *moved = 0;
    if (drive == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (drive->position < 0)
        return Fail(ERROR_SECTOR_NOT_FOUND, FALSE);
    if (size > kBounceSize)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const ssize_t count = read(drive->fd, drive->bounce, size);
    if (count < 0)
        return FailFromErrno();
    std::memcpy(buffer, drive->bounce, static_cast<size_t>(count));
    drive->position += count;
    if (moved != nullptr)
        *moved = static_cast<DWORD>(count);
    return TRUE;
}

// An image file stands for a disk, which does not grow: a write past its end
// fails as it would past the last sector of a real disk.
BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD size, LPDWORD moved, LPOVERLAPPED)
{
    DriveHandle* drive = FindDrive(handle);
    if (moved != nullptr)
        *moved = 0;
    if (drive == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (!drive->writable)
        return Fail(ERROR_WRITE_PROTECT, FALSE);
    if (drive->position < 0)
        return Fail(ERROR_SECTOR_NOT_FOUND, FALSE);
    if (size > kBounceSize)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (!drive->blockDevice && drive->position + static_cast<off_t>(size) > drive->imageSize)
        return Fail(ERROR_SECTOR_NOT_FOUND, FALSE);
    std::memcpy(drive->bounce, buffer, size);
    const ssize_t count = write(drive->fd, drive->bounce, size);
    if (count < 0)
        return FailFromErrno();
    drive->position += count;
    if (moved != nullptr)
        *moved = static_cast<DWORD>(count);
    return TRUE;
}
