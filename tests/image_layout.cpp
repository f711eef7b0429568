#include "image_layout.h"

#include <algorithm>

const NewImageLayout kNewImageLayouts[4] = {
    {0, 0xF9, 2048, 737280},
    {1, 0xFB, 1536, 655360},
    {2, 0xF8, 1536, 368640},
    {3, 0xFA, 1024, 327680},
};

Bytes ExpectedNewImage(const Bytes& bootSector, const NewImageLayout& layout)
{
    Bytes image(layout.fileLength, 0);
    std::copy(bootSector.begin(), bootSector.begin() + 512, image.begin());
    for (size_t fat : {size_t{512}, layout.secondFatByte}) {
        image[fat] = layout.mediaDescriptor;
        image[fat + 1] = 0xFF;
        image[fat + 2] = 0xFF;
    }
    return image;
}
