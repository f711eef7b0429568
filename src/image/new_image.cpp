// Commands M and N: a new, empty virtual disk file of a media type, with the
// boot sector of a disk or of a file.
#include "commands.h"
#include "image_files.h"
#include "media_type.h"
#include "../sector/disk_opening.h"

#include <cstdlib>
#include <cstring>

namespace {

// Sector 0 as the buffer holds it, then the body of the media type.
bool WriteNewImage(BYTE* buffer, std::FILE* file, int mediaType)
{
    if (std::fwrite(buffer, kSectorSize, 1, file) != 1) {
        std::fprintf(stderr, "Can't write Virtual disk file.\n");
        std::fclose(file);
        std::free(buffer);
        return false;
    }
    return WriteNewImageBody(buffer, file, mediaType);
}

}  // namespace

bool MakeImageFromDisk(const char* driveParameter, const char* newFileName, int mediaType)
{
    const BYTE drive = DriveIndexFromParameter(driveParameter);
    BYTE* buffer = OpenDiskForCommand(drive);
    if (buffer == nullptr)
        return false;
    std::FILE* file = std::fopen(newFileName, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "Can't open output Virtual disk file\n");
        FreeBufferAndCloseDisk(buffer);
        return false;
    }
    std::fprintf(stderr, "Making new virturl disk file from real disk.\n");
    if (ReadDiskSector(buffer, drive, 0) != 0) {
        std::fprintf(stderr, "Can't read Real disk.\n");
        std::fclose(file);
        FreeBufferAndCloseDisk(buffer);
        return false;
    }
    // Only sector 0 is needed: the disk is free before the image is written.
    g_sectorDevice->Close(g_diskHandle);
    return WriteNewImage(buffer, file, mediaType);
}

bool MakeImageFromFile(const char* sourceFileName, const char* newFileName, int mediaType)
{
    // Creating the new file empties it, which would lose a source that is the
    // same file before its boot sector is read.
    if (IsSameFile(sourceFileName, newFileName)) {
        std::fprintf(stderr, "Source and new virtual disk file are the same file.\n");
        return false;
    }
    auto* buffer = static_cast<BYTE*>(std::calloc(1, kSectorBufferSize));
    if (buffer == nullptr) {
        std::fprintf(stderr, "No enough memory.\n");
        return false;
    }
    std::FILE* file = std::fopen(newFileName, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "Can't open output Virtual disk file\n");
        std::free(buffer);
        return false;
    }
    std::FILE* source = std::fopen(sourceFileName, "rb");
    if (source == nullptr) {
        std::fprintf(stderr, "Can't open input Virtual disk file\n");
        std::fclose(file);
        std::free(buffer);
        return false;
    }
    std::fprintf(stderr, "Making New virtual disk file from virturl disk file.\n");
    const bool read = std::fread(buffer, kSectorSize, 1, source) == 1;
    std::fclose(source);
    if (!read) {
        std::fprintf(stderr, "Can't read Virtual disk file.\n");
        std::fclose(file);
        std::free(buffer);
        return false;
    }
    return WriteNewImage(buffer, file, mediaType);
}

bool WriteNewImageBody(BYTE* buffer, std::FILE* file, int mediaType)
{
    const MediaType& media = MediaTypeOf(mediaType);
    // Two regions of the buffer serve every sector of the body: the first
    // sector of a FAT and a zero sector. The image is never held in memory.
    std::memset(buffer, 0, 2 * kSectorSize);
    buffer[0] = media.mediaDescriptor;
    buffer[1] = 0xFF;
    buffer[2] = 0xFF;
    const BYTE* firstFatSector = buffer;
    const BYTE* zeroSector = buffer + kSectorSize;
    bool written = true;
    auto writeSectors = [&](const BYTE* sector, int count) {
        for (int i = 0; i < count && written; ++i)
            written = std::fwrite(sector, kSectorSize, 1, file) == 1;
    };
    for (int fat = 0; fat < 2; ++fat) {
        writeSectors(firstFatSector, 1);
        writeSectors(zeroSector, media.sectorsPerFat - 1);
    }
    writeSectors(zeroSector, kRootDirectorySectors + media.dataSectors);
    if (!written)
        std::fprintf(stderr, "Can't write Virtual disk file.\n");
    written = CloseWrittenFile(file, written);
    std::free(buffer);
    return written;
}
