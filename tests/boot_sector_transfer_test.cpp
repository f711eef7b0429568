#include "command_fixture.h"
#include "progress_lines.h"

#include "../src/image/commands.h"

#include <cstdio>
#include <ostream>

namespace {

const char kDiskClosed[] = "[disk closed]\n";

class BootSectorTest : public CommandTest {
protected:
    // Shows in the printed text when the command gave the disk back.
    void MarkDiskClose()
    {
        device.onClose = [] { std::fprintf(stderr, "%s", kDiskClosed); };
    }
};

TEST_F(BootSectorTest, BWritesOnlyTheFirst512BytesOfAWholeImageToSector0)
{
    const Bytes source = DiskPattern(1440, 4);
    WriteFileBytes(Path("game.dsk"), source);
    Bytes expected = device.disk;
    std::copy(source.begin(), source.begin() + 512, expected.begin());
    EXPECT_TRUE(Run([&] { return WriteBootSectorToDisk(Path("game.dsk").c_str(), "b"); }));
    EXPECT_EQ(printed, kBProgress);
    EXPECT_EQ(device.disk, expected);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"Open", "Write 0", "Close"}));
    EXPECT_EQ(device.openedDrive, 1);
}

// Every way B can stop, with its message; the disk is never changed.
struct BFailure {
    const char* name;
    bool failOpen;
    int sourceBytes;  // -1: no source file
    bool unwritable;
    const char* message;
};

std::ostream& operator<<(std::ostream& out, const BFailure& c) { return out << c.name; }

class BFailures : public BootSectorTest, public ::testing::WithParamInterface<BFailure> {};

TEST_P(BFailures, StopWithTheirMessage)
{
    const BFailure& c = GetParam();
    device.failOpen = c.failOpen;
    if (c.unwritable)
        device.unwritable.insert(0);
    if (c.sourceBytes >= 0)
        WriteFileBytes(Path("boot.bsc"), Bytes(static_cast<size_t>(c.sourceBytes), 0x42));
    const Bytes before = device.disk;
    EXPECT_FALSE(Run([&] { return WriteBootSectorToDisk(Path("boot.bsc").c_str(), "A:"); }));
    EXPECT_EQ(printed, c.message);
    EXPECT_EQ(device.disk, before);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BFailures,
    ::testing::Values(BFailure{"DiskNotOpened", true, 512, false, "Can't open Real disk.\n"},
                      BFailure{"NoSource", false, -1, false, "Can't open input Virtual disk file\n"},
                      BFailure{"EmptySource", false, 0, false,
                               "Copying real disk's Boot sector from virtual disk file's Boot sector...\n"
                               "Can't read Virtual disk file.\n"},
                      BFailure{"ShortSource", false, 511, false,
                               "Copying real disk's Boot sector from virtual disk file's Boot sector...\n"
                               "Can't read Virtual disk file.\n"},
                      BFailure{"SectorNotWritten", false, 512, true,
                               "Copying real disk's Boot sector from virtual disk file's Boot sector...\n"
                               "Can't write Real disk.\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BootSectorTest, SSavesSector0AndGivesTheDiskBackBeforeWriting)
{
    MarkDiskClose();
    EXPECT_TRUE(Run([&] { return SaveBootSectorToFile("z", Path("boot.bsc").c_str()); }));
    EXPECT_EQ(printed, std::string(kSProgress) + kDiskClosed);
    EXPECT_EQ(ReadFileBytes(Path("boot.bsc")), SectorOf(device.disk, 0));
    EXPECT_EQ(device.openedDrive, 25);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"Open", "Read 0", "Close"}));
}

TEST_F(BootSectorTest, SReportsAFileThatCannotBeWrittenAfterReleasingTheDisk)
{
    MarkDiskClose();
    EXPECT_FALSE(Run([&] { return SaveBootSectorToFile("A:", "/dev/full"); }));
    EXPECT_EQ(printed, std::string(kSProgress) + kDiskClosed + "Can't write Virtual disk file.\n");
}

TEST_F(BootSectorTest, SLeavesAnEmptyFileWhenSector0CannotBeRead)
{
    device.unreadable.insert(0);
    WriteFileBytes(Path("boot.bsc"), Bytes(512, 1));
    EXPECT_FALSE(Run([&] { return SaveBootSectorToFile("A:", Path("boot.bsc").c_str()); }));
    EXPECT_EQ(printed, std::string(kSProgress) + "Can't read Real disk.\n");
    EXPECT_EQ(ReadFileBytes(Path("boot.bsc")).size(), 0u);
    EXPECT_TRUE(FileExists(Path("boot.bsc")));
}

TEST_F(BootSectorTest, SNeitherCreatesNorTruncatesWhenTheDiskDoesNotOpen)
{
    device.failOpen = true;
    WriteFileBytes(Path("old.bsc"), Bytes(512, 1));
    EXPECT_FALSE(Run([&] { return SaveBootSectorToFile("A:", Path("old.bsc").c_str()); }));
    EXPECT_FALSE(Run([&] { return SaveBootSectorToFile("A:", Path("new.bsc").c_str()); }));
    EXPECT_EQ(printed, "Can't open Real disk.\n");
    EXPECT_EQ(ReadFileBytes(Path("old.bsc")), Bytes(512, 1));
    EXPECT_FALSE(FileExists(Path("new.bsc")));
}

TEST_F(BootSectorTest, SWithAFileThatCannotBeCreatedReadsNothing)
{
    EXPECT_FALSE(Run([&] { return SaveBootSectorToFile("A:", Path("no/dir/boot.bsc").c_str()); }));
    EXPECT_EQ(printed, "Can't open output Virtual disk file\n");
    EXPECT_EQ(device.calls, (std::vector<std::string>{"Open", "Close"}));
}

TEST_F(BootSectorTest, SThenBCopiesTheBootSectorBetweenDisks)
{
    ASSERT_TRUE(Run([&] { return SaveBootSectorToFile("A:", Path("boot.bsc").c_str()); }));
    const Bytes first = SectorOf(device.disk, 0);
    FakeSectorDevice other;
    other.disk = DiskPattern(1440, 8);
    InstalledDevice installed(other);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(WriteBootSectorToDisk(Path("boot.bsc").c_str(), "B:"));
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(SectorOf(other.disk, 0), first);
    EXPECT_EQ(SectorOf(other.disk, 1), SectorPattern(1, 8));
}

}  // namespace
