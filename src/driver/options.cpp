#include "options.h"

#include "settings.h"
#include "../image/media_type.h"

#include <cstring>

namespace {

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// An option is named by the first two characters of its word or token, in
// either case; whatever follows belongs to its value.
bool IsOption(const char* unit, char letter) { return unit[0] == '/' && FoldAscii(unit[1]) == letter; }

// Only the first two characters of a "/M" value count; a value that matches
// no code leaves the media type as it was.
void SetMediaTypeFromCode(const char* value)
{
    for (int type = 0; type < 4; ++type) {
        const char* code = kMediaTypes[type].optionCode;
        if (code != nullptr && std::strncmp(value, code, 2) == 0)
            g_mediaType = type;
    }
}

bool SetBaseBootSectorFile(const char* value, size_t length)
{
    if (length >= kBaseBootSectorFileCapacity)
        return false;
    std::memcpy(g_baseBootSectorFile, value, length);
    g_baseBootSectorFile[length] = '\0';
    return true;
}

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

const char* SkipSeparators(const char* text)
{
    while (IsSeparator(*text))
        ++text;
    return text;
}

size_t TokenLength(const char* token)
{
    size_t length = 0;
    while (token[length] != '\0' && !IsSeparator(token[length]))
        ++length;
    return length;
}

}  // namespace

bool ParseCommandLineOptions(int argc, const char* const argv[], int first)
{
    bool namesFit = true;
    for (int position = first; position < argc; ++position) {
        const char* word = argv[position];
        const bool media = IsOption(word, 'M');
        if (!media && !IsOption(word, 'B'))
            continue;
        // An option word of just its two characters takes the next word,
        // whatever it holds, as its value.
        const char* value = word + 2;
        if (*value == '\0') {
            if (++position >= argc)
                break;
            value = argv[position];
        }
        if (media)
            SetMediaTypeFromCode(value);
        else
            namesFit = SetBaseBootSectorFile(value, std::strlen(value)) && namesFit;
    }
    return namesFit;
}

bool ParseEnvironmentOptions(const char* text)
{
    bool namesFit = true;
    const char* token = SkipSeparators(text);
    while (*token != '\0') {
        const bool media = IsOption(token, 'M');
        if (media || IsOption(token, 'B')) {
            // A token of just the option's two characters takes the next
            // token as its value, which is then the token to move past.
            const char* value = token + 2;
            if (TokenLength(value) == 0) {
                value = SkipSeparators(value);
                if (*value == '\0')
                    break;
                token = value;
            }
            if (media)
                SetMediaTypeFromCode(value);
            else
                namesFit = SetBaseBootSectorFile(value, TokenLength(value)) && namesFit;
        }
        token = SkipSeparators(token + TokenLength(token));
    }
    return namesFit;
}
