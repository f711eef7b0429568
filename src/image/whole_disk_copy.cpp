// Commands V and R: a whole 720 KB disk, sector by sector, to and from a
// virtual disk file.
#include "commands.h"
#include "image_files.h"
#include "media_type.h"
#include "../sector/disk_opening.h"

#include <cstdlib>
#include <cstring>

bool CopyDiskToImage(const char* driveParameter, const char* fileName)
{
    const BYTE drive = DriveIndexFromParameter(driveParameter);
    BYTE* buffer = OpenDiskForCommand(drive);
    if (buffer == nullptr)
        return false;
    std::FILE* file = std::fopen(fileName, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "Can't open output Virtual disk file\n");
        FreeBufferAndCloseDisk(buffer);
        return false;
    }
    std::fprintf(stderr, "Copying Virturl disk file from real disk...\n");
    bool allRead = true;
    bool allWritten = true;
    for (int sector = 0; sector < kWholeDiskSectors; ++sector) {
        if (!g_sectorDevice->ReadSector(g_diskHandle, drive, sector, buffer)) {
            std::fprintf(stderr, "Can't read Real disk sector %d\n", sector);
            // A sector that could not be read is stored as zeros, never as
            // the bytes of another sector; it keeps its place in the file.
            std::memset(buffer, 0, kSectorSize);
            allRead = false;
        }
        if (std::fwrite(buffer, kSectorSize, 1, file) != 1) {
            std::fprintf(stderr, "Can't write Virtual disk file.\n");
            allWritten = false;
        }
    }
    g_sectorDevice->Close(g_diskHandle);
    allWritten = CloseWrittenFile(file, allWritten);
    std::free(buffer);
    return allRead && allWritten;
}

bool CopyImageToDisk(const char* fileName, const char* driveParameter)
{
    const BYTE drive = DriveIndexFromParameter(driveParameter);
    BYTE* buffer = OpenDiskForCommand(drive);
    if (buffer == nullptr)
        return false;
    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "Can't open input Virtual disk file\n");
        FreeBufferAndCloseDisk(buffer);
        return false;
    }
    std::fprintf(stderr, "Copying Real disk from virtual disk file...\n");
    bool allWritten = true;
    for (int sector = 0; sector < kWholeDiskSectors; ++sector) {
        if (std::fread(buffer, kSectorSize, 1, file) != 1) {
            std::fprintf(stderr, "Can't read Virtual disk file.\n");
            std::fclose(file);
            FreeBufferAndCloseDisk(buffer);
            return false;
        }
        if (!g_sectorDevice->WriteSector(g_diskHandle, drive, sector, buffer)) {
            std::fprintf(stderr, "Can't write Real disk sector %d\n", sector);
            allWritten = false;
        }
    }
    g_sectorDevice->Close(g_diskHandle);
    std::fclose(file);
    std::free(buffer);
    return allWritten;
}
