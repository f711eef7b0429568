#include "leading_count.h"

#include "../platform/windows_api.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

bool IsPathParameter(const char* word)
{
    if (!kPathsBeginWithSlash)
        return false;
    const char* lastSlash = std::strrchr(word, '/');
    if (lastSlash == word)
        return false;
    std::error_code error;
    return std::filesystem::is_directory(std::string(word, lastSlash), error);
}

}  // namespace

int FindLeadingCount(int argc, const char* const argv[])
{
    for (int position = 1; position < argc; ++position) {
        if (argv[position][0] == '/' && !IsPathParameter(argv[position]))
            return position;
    }
    return argc;
}
