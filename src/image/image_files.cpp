#include "image_files.h"

#include "../platform/windows_api.h"

bool CloseWrittenFile(std::FILE* file, bool writesSucceeded)
{
    const bool closed = std::fclose(file) == 0;
    if (writesSucceeded && !closed)
        std::fprintf(stderr, "Can't write Virtual disk file.\n");
    return writesSucceeded && closed;
}

namespace {

// What tells one file from every other: its volume and its index there.
bool IdentifyFile(const char* name, BY_HANDLE_FILE_INFORMATION& information)
{
    HANDLE file = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const BOOL identified = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    return identified != FALSE;
}

}  // namespace

bool IsSameFile(const char* first, const char* second)
{
    BY_HANDLE_FILE_INFORMATION one;
    BY_HANDLE_FILE_INFORMATION other;
    return IdentifyFile(first, one) && IdentifyFile(second, other)
        && one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh
        && one.nFileIndexLow == other.nFileIndexLow;
}
