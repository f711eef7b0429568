#include "disk_opening.h"

#include <cstdio>
#include <cstdlib>

BYTE DriveIndexFromParameter(const char* driveParameter)
{
    const unsigned char first = static_cast<unsigned char>(driveParameter[0]);
    if (first >= 'A' && first <= 'Z')
        return static_cast<BYTE>(first - 'A');
    if (first >= 'a' && first <= 'z')
        return static_cast<BYTE>(first - 'a');
    return 0;
}

BYTE* OpenDiskForCommand(BYTE drive)
{
    g_diskHandle = g_sectorDevice->Open(drive, GENERIC_READ | GENERIC_WRITE);
    if (g_diskHandle == nullptr) {
        std::fprintf(stderr, "Can't open Real disk.\n");
        return nullptr;
    }
    auto* buffer = static_cast<BYTE*>(std::calloc(1, kSectorBufferSize));
    if (buffer == nullptr) {
        std::fprintf(stderr, "No enough memory.\n");
        g_sectorDevice->Close(g_diskHandle);
    }
    return buffer;
}

void FreeBufferAndCloseDisk(BYTE* buffer)
{
    std::free(buffer);
    g_sectorDevice->Close(g_diskHandle);
}
