// The base boot sector that comes with the tool describes an empty 720 KB
// MSX 2DD data disk.
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

unsigned Field(const Bytes& sector, size_t offset, size_t width)
{
    unsigned value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | sector[offset + i];
    return value;
}

TEST(DefaultBootSector, DescribesAnEmpty720KDisk)
{
    const Bytes sector = ReadFileBytes(VELDISK_SOURCE_DIR "/default.bsc");
    ASSERT_EQ(sector.size(), 512u);
    EXPECT_TRUE(sector[0] == 0xEB || sector[0] == 0xE9) << "a jump at byte 0";
    const struct {
        const char* field;
        size_t offset;
        size_t width;
        unsigned value;
    } fields[] = {
        {"bytes per sector", 0x0B, 2, 512}, {"sectors per cluster", 0x0D, 1, 2}, {"reserved sectors", 0x0E, 2, 1},
        {"FATs", 0x10, 1, 2},               {"root entries", 0x11, 2, 112},      {"sectors", 0x13, 2, 1440},
        {"media descriptor", 0x15, 1, 0xF9}, {"sectors per FAT", 0x16, 2, 3},    {"sectors per track", 0x18, 2, 9},
        {"heads", 0x1A, 2, 2},              {"hidden sectors", 0x1C, 2, 0},
    };
    for (const auto& f : fields)
        EXPECT_EQ(Field(sector, f.offset, f.width), f.value) << f.field;
    EXPECT_EQ(sector[0x1E], 0xC9) << "the boot code only returns";
}

}  // namespace
