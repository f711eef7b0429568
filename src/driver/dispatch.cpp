#include "dispatch.h"

#include "banner.h"
#include "settings.h"
#include "../image/commands.h"

#include <cctype>
#include <cstdio>

namespace {

bool MakeImageFromDiskWithSetting(const char* drive, const char* newFile)
{
    return MakeImageFromDisk(drive, newFile, g_mediaType);
}

bool MakeImageFromFileWithSetting(const char* source, const char* newFile)
{
    return MakeImageFromFile(source, newFile, g_mediaType);
}

bool WriteBaseBootSectorToDisk(const char* drive) { return WriteBootSectorToDisk(g_baseBootSectorFile, drive); }

bool MakeImageFromBaseBootSector(const char* newFile)
{
    return MakeImageFromFile(g_baseBootSectorFile, newFile, g_mediaType);
}

struct Command {
    char letter;
    bool (*withTwoParameters)(const char* p1, const char* p2);  // leading count 4 or more
    bool (*withOneParameter)(const char* p1);                   // leading count 3; null: usage
    bool printsMediaType;
};

const Command kCommands[] = {
    {'V', CopyDiskToImage, nullptr, false},
    {'R', CopyImageToDisk, nullptr, false},
    {'B', WriteBootSectorToDisk, WriteBaseBootSectorToDisk, false},
    {'M', MakeImageFromDiskWithSetting, nullptr, true},
    {'N', MakeImageFromFileWithSetting, MakeImageFromBaseBootSector, true},
    {'S', SaveBootSectorToFile, nullptr, false},
};

void PrintMediaTypeLine(const Command& command)
{
    if (command.printsMediaType)
        std::fprintf(stderr, "New virtual disk MEDIA type is %d\n\n", g_mediaType);
}

}  // namespace

bool RunCommand(const char* const argv[], int leadingCount)
{
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(argv[1][0])));
    for (const Command& command : kCommands) {
        if (command.letter != letter)
            continue;
        if (leadingCount >= 4) {
            PrintMediaTypeLine(command);
            return command.withTwoParameters(argv[2], argv[3]);
        }
        if (leadingCount == 3 && command.withOneParameter != nullptr) {
            PrintMediaTypeLine(command);
            return command.withOneParameter(argv[2]);
        }
        break;
    }
    PrintUsageAndExit();
}
