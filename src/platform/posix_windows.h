// The part of the Windows API that the sector devices, the driver and the
// commands use, declared for hosts that are not Windows and implemented over
// POSIX.
//
// A drive letter X is backed by the block device or image file that the
// environment variable VLDK_DRIVE_X names; without it A: is /dev/fd0, B: is
// /dev/fd1 and every other letter has no drive. Any other name is a path.
#pragma once

#include <cstdint>

typedef void* HANDLE;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int BOOL;
typedef unsigned char BYTE;
typedef char CHAR;
typedef LONG* PLONG;
typedef DWORD* LPDWORD;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_FLAG_DELETE_ON_CLOSE = 0x04000000;
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

constexpr DWORD FSCTL_LOCK_VOLUME = 0x00090018;
constexpr DWORD FSCTL_UNLOCK_VOLUME = 0x0009001C;
constexpr DWORD FSCTL_DISMOUNT_VOLUME = 0x00090020;

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_INVALID_FUNCTION = 1;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_WRITE_PROTECT = 19;
constexpr DWORD ERROR_NOT_READY = 21;
constexpr DWORD ERROR_CRC = 23;
constexpr DWORD ERROR_SECTOR_NOT_FOUND = 27;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_LOCK_VIOLATION = 33;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_NOT_LOCKED = 158;

constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA is 148 bytes");

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct BY_HANDLE_FILE_INFORMATION {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD dwVolumeSerialNumber;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD nNumberOfLinks;
    DWORD nFileIndexHigh;
    DWORD nFileIndexLow;
};

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creation, DWORD flags, HANDLE templateFile);
BOOL CloseHandle(HANDLE handle);
BOOL DeviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                     LPDWORD returned, LPOVERLAPPED overlapped);
DWORD SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh, DWORD method);
BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD moved, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD size, LPDWORD moved, LPOVERLAPPED overlapped);
BOOL GetFileInformationByHandle(HANDLE handle, BY_HANDLE_FILE_INFORMATION* information);
DWORD GetFileAttributesA(LPCSTR name);
DWORD GetLastError();
void SetLastError(DWORD error);
BOOL GetVersionExA(OSVERSIONINFOA* info);
int wsprintfA(LPSTR out, LPCSTR format, ...);

// Test seam. This host has no VWIN32 device: "\\.\vwin32" is not found. While
// a stand-in is installed, CreateFileA of that name and every call on the
// handle it returned go to the stand-in instead, so that a test sees them.
class Vwin32StandIn {
public:
    virtual ~Vwin32StandIn() = default;
    virtual HANDLE Create(DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                          DWORD creation, DWORD flags, HANDLE templateFile) = 0;
    virtual BOOL Control(HANDLE handle, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                         DWORD outSize, LPDWORD returned, LPOVERLAPPED overlapped) = 0;
    virtual BOOL Close(HANDLE handle) = 0;
};
void InstallVwin32StandIn(Vwin32StandIn* standIn);  // null removes it

// Test seam: the platform that GetVersionExA reports (VER_PLATFORM_WIN32_NT
// unless a test sets another).
void SetReportedPlatform(DWORD platformId);
