#include "media_type.h"

const MediaType kMediaTypes[4] = {
    {nullptr, 0xF9, 3, 1426},
    {"28", 0xFB, 2, 1268},
    {"19", 0xF8, 2, 708},
    {"18", 0xFA, 1, 630},
};

const MediaType& MediaTypeOf(int mediaType)
{
    const unsigned index = static_cast<unsigned>(mediaType);
    return kMediaTypes[index <= 3 ? index : 0];
}

int TotalSectors(const MediaType& media)
{
    return 1 + 2 * media.sectorsPerFat + kRootDirectorySectors + media.dataSectors;
}
