// Commands B and S: sector 0 of a disk from and to a file.
#include "commands.h"
#include "image_files.h"
#include "../sector/disk_opening.h"

#include <cstdlib>

bool WriteBootSectorToDisk(const char* fileName, const char* driveParameter)
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
    std::fprintf(stderr, "Copying real disk's Boot sector from virtual disk file's Boot sector...\n");
    bool succeeded = false;
    if (std::fread(buffer, kSectorSize, 1, file) != 1)
        std::fprintf(stderr, "Can't read Virtual disk file.\n");
    else if (WriteDiskSector(buffer, drive, 0) != 0)
        std::fprintf(stderr, "Can't write Real disk.\n");
    else
        succeeded = true;
    if (succeeded) {
        g_sectorDevice->Close(g_diskHandle);
        std::fclose(file);
        std::free(buffer);
    } else {
        std::fclose(file);
        FreeBufferAndCloseDisk(buffer);
    }
    return succeeded;
}

bool SaveBootSectorToFile(const char* driveParameter, const char* fileName)
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
    std::fprintf(stderr, "Save real disk's boot sector to virturl disk file.\n");
    if (ReadDiskSector(buffer, drive, 0) != 0) {
        std::fprintf(stderr, "Can't read Real disk.\n");
        std::fclose(file);
        FreeBufferAndCloseDisk(buffer);
        return false;
    }
    // The drive is given back as soon as sector 0 is in the buffer: however
    // long the output file takes, it holds no lock on the disk.
    g_sectorDevice->Close(g_diskHandle);
    bool written = std::fwrite(buffer, kSectorSize, 1, file) == 1;
    if (!written)
        std::fprintf(stderr, "Can't write Virtual disk file.\n");
    written = CloseWrittenFile(file, written);
    std::free(buffer);
    return written;
}
