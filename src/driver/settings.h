// The two settings that options change.
#pragma once

#include <cstddef>

// Room for the base boot sector file name, its terminator included.
constexpr size_t kBaseBootSectorFileCapacity = 68;

extern int g_mediaType;
extern char g_baseBootSectorFile[kBaseBootSectorFileCapacity];

void SetDefaultSettings();
