#include "settings.h"

#include <cstring>

int g_mediaType = 0;
char g_baseBootSectorFile[kBaseBootSectorFileCapacity] = "";

void SetDefaultSettings()
{
    g_mediaType = 0;
    std::strcpy(g_baseBootSectorFile, "default.bsc");
}
