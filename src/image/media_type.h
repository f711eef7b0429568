// The layout of virtual disk files and of the new images of each media type.
#pragma once

#include "../sector/sector_device.h"

// V and R always move a whole 720 KB disk, whatever the media type.
constexpr int kWholeDiskSectors = 1440;
constexpr int kRootDirectorySectors = 7;

struct MediaType {
    const char* optionCode;  // the "/M" value that selects it, null for the default
    BYTE mediaDescriptor;
    int sectorsPerFat;
    int dataSectors;
};

// Indexed by media type: 2DD 9 sectors, 2DD 8 sectors, 1DD 9 sectors, 1DD 8 sectors.
extern const MediaType kMediaTypes[4];

// Any value other than 1, 2 or 3 is laid out as media type 0.
const MediaType& MediaTypeOf(int mediaType);

// Boot sector, two FATs, root directory and data area.
int TotalSectors(const MediaType& media);
