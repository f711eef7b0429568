#include "image_files.h"

#include <filesystem>
#include <system_error>

bool CloseWrittenFile(std::FILE* file, bool writesSucceeded)
{
    const bool closed = std::fclose(file) == 0;
    if (writesSucceeded && !closed)
        std::fprintf(stderr, "Can't write Virtual disk file.\n");
    return writesSucceeded && closed;
}

bool IsSameFile(const char* first, const char* second)
{
    std::error_code error;
    return std::filesystem::equivalent(first, second, error);
}
