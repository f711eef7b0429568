// The layout of a new virtual disk file, written out from the table of where
// each region begins, to compare whole images against.
#pragma once

#include "test_files.h"

#include <ostream>

struct NewImageLayout {
    int mediaType;
    unsigned char mediaDescriptor;
    size_t secondFatByte;
    size_t fileLength;
};

inline std::ostream& operator<<(std::ostream& out, const NewImageLayout& layout)
{
    return out << "media type " << layout.mediaType;
}

// Media types 0 to 3: the first FAT always begins at byte 512.
extern const NewImageLayout kNewImageLayouts[4];

// The whole image that a boot sector and a layout make.
Bytes ExpectedNewImage(const Bytes& bootSector, const NewImageLayout& layout);
