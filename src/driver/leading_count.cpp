#include "leading_count.h"

#include "../platform/windows_api.h"

#include <cstring>
#include <string>

namespace {

bool IsPathParameter(const char* word)
{
    if (!kPathsBeginWithSlash)
        return false;
    const char* lastSlash = std::strrchr(word, '/');
    if (lastSlash == word)
        return false;
    const DWORD attributes = GetFileAttributesA(std::string(word, lastSlash).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
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
