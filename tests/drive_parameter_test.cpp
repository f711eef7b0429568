#include "../src/sector/disk_opening.h"
#include "fake_sector_device.h"

#include <gtest/gtest.h>

namespace {

TEST(DriveParameter, OnlyAnAsciiLetterAtTheStartCounts)
{
    const struct {
        const char* parameter;
        int drive;
    } cases[] = {{"A:", 0}, {"a", 0}, {"a:\\", 0}, {"Apple", 0}, {"b:", 1}, {"B", 1}, {"z", 25}, {"Z:", 25},
                 {"1:", 0}, {"-", 0}, {"", 0}, {"\xC1:", 0}, {"[", 0}, {"`", 0}, {"@", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(DriveIndexFromParameter(c.parameter), c.drive) << '"' << c.parameter << '"';
}

TEST(DiskSectorWrappers, ReturnZeroOnSuccessAndOneOnFailure)
{
    FakeSectorDevice device;
    InstalledDevice installed(device);
    device.unreadable.insert(3);
    device.unwritable.insert(4);
    g_diskHandle = device.handle();
    BYTE buffer[512] = {};
    EXPECT_EQ(ReadDiskSector(buffer, 2, 0), 0);
    EXPECT_EQ(Bytes(buffer, buffer + 512), SectorOf(device.disk, 0));
    EXPECT_EQ(ReadDiskSector(buffer, 2, 3), 1);
    EXPECT_EQ(WriteDiskSector(buffer, 2, 1), 0);
    EXPECT_EQ(WriteDiskSector(buffer, 2, 4), 1);
    EXPECT_EQ(device.transferDrives, std::set<int>{2});
}

TEST(OpeningSequence, AFailedOpenLeavesANullHandleAndNoBuffer)
{
    FakeSectorDevice device;
    device.failOpen = true;
    InstalledDevice installed(device);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(OpenDiskForCommand(3), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Can't open Real disk.\n");
    EXPECT_EQ(g_diskHandle, nullptr);
    EXPECT_EQ(device.openedDrive, 3);
    EXPECT_EQ(device.openedAccess, 0xC0000000u);
    EXPECT_EQ(device.closes, 0);
}

TEST(OpeningSequence, GivesAZeroFilledBufferOf4096Bytes)
{
    FakeSectorDevice device;
    InstalledDevice installed(device);
    BYTE* buffer = OpenDiskForCommand(0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(g_diskHandle, device.handle());
    EXPECT_EQ(Bytes(buffer, buffer + kSectorBufferSize), Bytes(kSectorBufferSize, 0));
    FreeBufferAndCloseDisk(buffer);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"Open", "Close"}));
}

}  // namespace
