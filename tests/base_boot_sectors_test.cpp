// The base boot sectors that come with the tool, one for each media type,
// each describing an empty MSX data disk laid out as a new image of that
// media type is.
#include "test_files.h"
#include "../src/image/media_type.h"

#include <gtest/gtest.h>

namespace {

unsigned Field(const Bytes& sector, size_t offset, size_t width)
{
    unsigned value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | sector[offset + i];
    return value;
}

struct BaseBootSector {
    const char* file;
    int mediaType;
    unsigned sectors;
    unsigned mediaDescriptor;
    unsigned sectorsPerFat;
    unsigned sectorsPerTrack;
    unsigned heads;
};

std::ostream& operator<<(std::ostream& out, const BaseBootSector& base) { return out << base.file; }

class BaseBootSectorTest : public ::testing::TestWithParam<BaseBootSector> {};

TEST_P(BaseBootSectorTest, DescribesAnEmptyDiskOfItsMediaType)
{
    const BaseBootSector& base = GetParam();
    const Bytes sector = ReadFileBytes(std::string(VELDISK_SOURCE_DIR "/") + base.file);
    ASSERT_EQ(sector.size(), 512u);
    EXPECT_TRUE(sector[0] == 0xEB || sector[0] == 0xE9) << "a jump at byte 0";
    const struct {
        const char* field;
        size_t offset;
        size_t width;
        unsigned value;
    } fields[] = {
        {"bytes per sector", 0x0B, 2, 512},
        {"sectors per cluster", 0x0D, 1, 2},
        {"reserved sectors", 0x0E, 2, 1},
        {"FATs", 0x10, 1, 2},
        {"root entries", 0x11, 2, 112},
        {"sectors", 0x13, 2, base.sectors},
        {"media descriptor", 0x15, 1, base.mediaDescriptor},
        {"sectors per FAT", 0x16, 2, base.sectorsPerFat},
        {"sectors per track", 0x18, 2, base.sectorsPerTrack},
        {"heads", 0x1A, 2, base.heads},
        {"hidden sectors", 0x1C, 2, 0},
    };
    for (const auto& f : fields)
        EXPECT_EQ(Field(sector, f.offset, f.width), f.value) << f.field;
    EXPECT_EQ(sector[0x1E], 0xC9) << "the boot code only returns";
    EXPECT_EQ(Field(sector, 0x1FE, 2), 0xAA55u) << "the boot signature";

    // The same figures as the image that N and M write for the media type.
    const MediaType& media = MediaTypeOf(base.mediaType);
    EXPECT_EQ(static_cast<unsigned>(TotalSectors(media)), base.sectors);
    EXPECT_EQ(media.mediaDescriptor, base.mediaDescriptor);
    EXPECT_EQ(static_cast<unsigned>(media.sectorsPerFat), base.sectorsPerFat);
    EXPECT_EQ(base.sectors, 80 * base.sectorsPerTrack * base.heads) << "80 tracks";
}

INSTANTIATE_TEST_SUITE_P(EachMediaType, BaseBootSectorTest,
                         ::testing::Values(BaseBootSector{"default.bsc", 0, 1440, 0xF9, 3, 9, 2},
                                           BaseBootSector{"2dd8.bsc", 1, 1280, 0xFB, 2, 8, 2},
                                           BaseBootSector{"1dd9.bsc", 2, 720, 0xF8, 2, 9, 1},
                                           BaseBootSector{"1dd8.bsc", 3, 640, 0xFA, 1, 8, 1}));

}  // namespace
