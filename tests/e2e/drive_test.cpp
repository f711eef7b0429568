// The disk commands on drives backed by image files, as a user runs them.
#include "e2e_fixture.h"
#include "../progress_lines.h"
#include "../block_devices.h"
#include "../exclusive_holder.h"
#include "../image_layout.h"
#include "../requirements.h"

#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {

// One line of the message for each sector from first to last.
std::string SectorLines(const std::string& message, uint32_t first, uint32_t last)
{
    std::string lines;
    for (uint32_t sector = first; sector <= last; ++sector)
        lines += message + " " + std::to_string(sector) + "\n";
    return lines;
}

std::string ReadFailures(uint32_t first, uint32_t last)
{
    return SectorLines("Can't read Real disk sector", first, last);
}

std::string WriteFailures(uint32_t first, uint32_t last)
{
    return SectorLines("Can't write Real disk sector", first, last);
}

class DriveTest : public EndToEndTest {
protected:
    // Backs the letter with an image of that many patterned sectors.
    std::string BackImage(char letter, uint32_t sectors, uint32_t seed)
    {
        const std::string image = Path(std::string("drive-") + letter + ".img");
        WriteFileBytes(image, DiskPattern(sectors, seed));
        runner.BackDrive(letter, image);
        return image;
    }
};

TEST_F(DriveTest, VCopiesTheWholeDisk)
{
    BackImage('A', 1440, 1);
    const RunResult result = Run({"V", "A:", "disk.dsk"});
    EXPECT_EQ(result.err, Start() + kVProgress);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFileBytes(Path("disk.dsk")), DiskPattern(1440, 1));
}

TEST_F(DriveTest, RWritesTheWholeDisk)
{
    const std::string image = BackImage('A', 1440, 1);
    WriteFileBytes(Path("game.dsk"), DiskPattern(1440, 2));
    const RunResult result = Run({"R", "game.dsk", "A:"});
    EXPECT_EQ(result.err, Start() + kRProgress);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFileBytes(image), DiskPattern(1440, 2));
}

TEST_F(DriveTest, RWithShortAndOddSizedFilesWritesTheirWholeSectors)
{
    const std::string image = BackImage('A', 1440, 1);
    for (size_t size : {size_t{368640}, size_t{512 * 10 + 300}, size_t{0}}) {
        WriteFileBytes(image, DiskPattern(1440, 1));
        Bytes source = DiskPattern(1440, 3);
        source.resize(size);
        WriteFileBytes(Path("short.dsk"), source);
        const RunResult result = Run({"R", "short.dsk", "A:"});
        EXPECT_EQ(result.err, Start() + kRProgress + "Can't read Virtual disk file.\n") << size;
        EXPECT_EQ(result.status, 2);
        Bytes expected = DiskPattern(1440, 1);
        std::copy(source.begin(), source.begin() + size / 512 * 512, expected.begin());
        EXPECT_EQ(ReadFileBytes(image), expected) << size;
    }
}

TEST_F(DriveTest, BWritesOnlySector0)
{
    const std::string image = BackImage('A', 1440, 1);
    WriteFileBytes(Path("game.dsk"), DiskPattern(1440, 5));
    const RunResult result = Run({"B", "game.dsk", "A:"});
    EXPECT_EQ(result.err, Start() + kBProgress);
    EXPECT_EQ(result.status, 0);
    Bytes expected = DiskPattern(1440, 1);
    std::copy_n(DiskPattern(1, 5).begin(), 512, expected.begin());
    EXPECT_EQ(ReadFileBytes(image), expected);
}

TEST_F(DriveTest, SSavesSector0)
{
    BackImage('A', 1440, 1);
    const RunResult result = Run({"S", "A:", "boot.bsc"});
    EXPECT_EQ(result.err, Start() + kSProgress);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFileBytes(Path("boot.bsc")), SectorPattern(0, 1));
}

TEST_F(DriveTest, MMakesAnImageOfEachMediaTypeFromSector0)
{
    BackImage('A', 1440, 1);
    const char* codes[] = {"/M29", "/M28", "/M19", "/M18"};
    for (const NewImageLayout& layout : kNewImageLayouts) {
        const RunResult result = Run({"M", "A:", "new.dsk", codes[layout.mediaType]});
        EXPECT_EQ(result.err, Start() + MediaTypeLine(layout.mediaType) + kMProgress);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(ReadFileBytes(Path("new.dsk")), ExpectedNewImage(SectorPattern(0, 1), layout)) << layout;
    }
}

TEST_F(DriveTest, SThenBBetweenTwoDrives)
{
    BackImage('A', 1440, 1);
    const std::string second = BackImage('B', 1440, 2);
    EXPECT_EQ(Run({"S", "A:", "boot.bsc"}).status, 0);
    EXPECT_EQ(Run({"B", "boot.bsc", "B:"}).status, 0);
    Bytes expected = DiskPattern(1440, 2);
    std::copy_n(SectorPattern(0, 1).begin(), 512, expected.begin());
    EXPECT_EQ(ReadFileBytes(second), expected);
}

TEST_F(DriveTest, OnlyTheFirstLetterOfTheDriveCountsInEitherCase)
{
    BackImage('A', 1440, 1);
    BackImage('B', 1440, 2);
    BackImage('Z', 1440, 3);
    const struct {
        const char* drive;
        uint32_t seed;
    } cases[] = {{"a:", 1}, {"Apple", 1}, {"B", 2}, {"b:\\", 2}, {"z", 3}, {"Z:", 3}};
    for (const auto& c : cases) {
        const RunResult result = Run({"S", c.drive, "boot.bsc"});
        EXPECT_EQ(result.status, 0) << c.drive;
        EXPECT_EQ(ReadFileBytes(Path("boot.bsc")), SectorPattern(0, c.seed)) << c.drive;
    }
}

// On the NT family a drive that is not there does not open; on the 95
// family the device opens for any drive and each transfer fails instead.
TEST_F(DriveTest, ALetterWithNoDriveTouchesNoFile)
{
    WriteFileBytes(Path("old.dsk"), Bytes(1000, 9));
    const RunResult result = Run({"V", "Q:", "old.dsk"});
    EXPECT_EQ(result.status, 2);
    if (runner.family() == Family::Nt) {
        EXPECT_EQ(result.err, Start() + "Can't open Real disk.\n");
        EXPECT_EQ(ReadFileBytes(Path("old.dsk")), Bytes(1000, 9));
        EXPECT_EQ(Run({"S", "Q:", "new.bsc"}).err, Start() + "Can't open Real disk.\n");
        EXPECT_EQ(Run({"M", "Q", "new.dsk"}).err, Start() + MediaTypeLine(0) + "Can't open Real disk.\n");
        EXPECT_FALSE(FileExists(Path("new.bsc")));
        EXPECT_FALSE(FileExists(Path("new.dsk")));
    } else {
        EXPECT_EQ(result.err, Start() + kVProgress + ReadFailures(0, 1439));
        EXPECT_EQ(ReadFileBytes(Path("old.dsk")), Bytes(737280, 0));
    }
}

TEST_F(DriveTest, VFromASmallerDiskReportsTheMissingSectorsAndStoresZeros)
{
    BackImage('A', 640, 1);
    const RunResult result = Run({"V", "A:", "disk.dsk"});
    EXPECT_EQ(result.err, Start() + kVProgress + ReadFailures(640, 1439));
    EXPECT_EQ(result.status, 2);
    Bytes expected = DiskPattern(640, 1);
    expected.resize(737280, 0);
    EXPECT_EQ(ReadFileBytes(Path("disk.dsk")), expected);
}

// What the Linux layer adds to drive letters: the locks of other programs,
// write-protected images and real block devices; and Linux's full device.
class LinuxDriveTest : public DriveTest {
protected:
    void SetUp() override
    {
        if (runner.underWine())
            GTEST_SKIP() << "drives on Wine are the prefix's, not the Linux layer's";
    }

    void RequireLoopDevices() { RequireAvailable(LoopDevicesUnavailable()); }

    // Drive A: refuses to open: each disk command says so and makes no file.
    void ExpectEveryCommandRefused()
    {
        WriteFileBytes(Path("game.dsk"), DiskPattern(1440, 2));
        const std::vector<std::vector<std::string>> commands = {
            {"V", "A:", "disk.dsk"}, {"S", "A:", "boot.bsc"}, {"M", "A:", "new.dsk"},
            {"R", "game.dsk", "A:"}, {"B", "game.dsk", "A:"}};
        for (const auto& command : commands) {
            const RunResult result = Run(command);
            EXPECT_EQ(result.err, Start() + (command[0] == "M" ? MediaTypeLine(0) : "") + "Can't open Real disk.\n")
                << command[0];
            EXPECT_EQ(result.status, 2) << command[0];
        }
        for (const char* made : {"disk.dsk", "boot.bsc", "new.dsk"})
            EXPECT_FALSE(FileExists(Path(made))) << made;
    }

    // Sector contents read straight from a block device, past any cache.
    static Bytes ReadDevice(const std::string& device, size_t bytes)
    {
        Bytes data(bytes);
        const int fd = open(device.c_str(), O_RDONLY | O_DIRECT);
        void* aligned = nullptr;
        if (fd < 0 || posix_memalign(&aligned, 4096, bytes) != 0)
            return {};
        const ssize_t count = read(fd, aligned, bytes);
        std::copy_n(static_cast<unsigned char*>(aligned), count > 0 ? count : 0, data.begin());
        std::free(aligned);
        close(fd);
        return count == static_cast<ssize_t>(bytes) ? data : Bytes{};
    }
};

TEST_F(LinuxDriveTest, AnImageLockedByAnotherProgramDoesNotOpen)
{
    const std::string image = BackImage('A', 1440, 1);
    for (auto kind : {ExclusiveHolder::FileLock::Flock, ExclusiveHolder::FileLock::Posix}) {
        ExclusiveHolder holder(image, kind);
        ASSERT_TRUE(holder.holding());
        const RunResult result = Run({"V", "A:", "disk.dsk"});
        EXPECT_EQ(result.err, Start() + "Can't open Real disk.\n");
        EXPECT_EQ(result.status, 2);
        EXPECT_FALSE(FileExists(Path("disk.dsk")));
    }
    EXPECT_EQ(Run({"V", "A:", "disk.dsk"}).status, 0) << "the lock is free again";
}

// Like a write-protected floppy: every command asks for write access to the
// disk, so each one is refused before anything is read, written or created.
TEST_F(LinuxDriveTest, AReadOnlyImageIsRefused)
{
    BackImage('A', 1440, 1);
    ReadOnlyFile readOnly(dir.path(), "drive-A.img");
    ASSERT_TRUE(readOnly.readOnly());
    runner.BackDrive('A', readOnly.path());
    ExpectEveryCommandRefused();
    EXPECT_EQ(ReadFileBytes(readOnly.path()), DiskPattern(1440, 1));
}

// A drive image does not grow: R onto a smaller disk fails past its end.
TEST_F(LinuxDriveTest, RPastTheEndOfASmallerDiskFails)
{
    const std::string image = BackImage('A', 640, 1);
    WriteFileBytes(Path("game.dsk"), DiskPattern(1440, 2));
    const RunResult result = Run({"R", "game.dsk", "A:"});
    EXPECT_EQ(result.err, Start() + kRProgress + WriteFailures(640, 1439));
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(ReadFileBytes(image), DiskPattern(640, 2));
}

TEST_F(LinuxDriveTest, ABlockDevice)
{
    RequireLoopDevices();
    if (IsSkipped() || HasFailure())
        return;
    const std::string image = Path("loop.img");
    WriteFileBytes(image, DiskPattern(1440, 1));
    LoopDevice loop(image);
    ASSERT_TRUE(loop.attached());
    runner.BackDrive('A', loop.path());

    RunResult result = Run({"V", "A:", "disk.dsk"});
    EXPECT_EQ(result.err, Start() + kVProgress);
    EXPECT_EQ(ReadFileBytes(Path("disk.dsk")), DiskPattern(1440, 1));

    WriteFileBytes(Path("game.dsk"), DiskPattern(1440, 2));
    result = Run({"R", "game.dsk", "A:"});
    EXPECT_EQ(result.err, Start() + kRProgress);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadDevice(loop.path(), 737280), DiskPattern(1440, 2)) << "the device holds what R wrote";
    EXPECT_EQ(ReadFileBytes(image), DiskPattern(1440, 2)) << "and so does the image behind it";

    {
        ExclusiveHolder holder(loop.path());
        ASSERT_TRUE(holder.holding());
        result = Run({"S", "A:", "boot.bsc"});
        EXPECT_EQ(result.err, Start() + "Can't open Real disk.\n");
        EXPECT_EQ(result.status, 2);
        EXPECT_FALSE(FileExists(Path("boot.bsc")));
    }
    result = Run({"S", "A:", "boot.bsc"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFileBytes(Path("boot.bsc")), SectorPattern(0, 2));
}

TEST_F(LinuxDriveTest, AWriteProtectedBlockDevice)
{
    RequireLoopDevices();
    if (IsSkipped() || HasFailure())
        return;
    const std::string image = Path("loop.img");
    WriteFileBytes(image, DiskPattern(1440, 1));
    LoopDevice loop(image, true);
    ASSERT_TRUE(loop.attached());
    runner.BackDrive('A', loop.path());
    ExpectEveryCommandRefused();
    EXPECT_EQ(ReadDevice(loop.path(), 737280), DiskPattern(1440, 1));
}

TEST_F(LinuxDriveTest, AnOutputFileThatCannotBeWritten)
{
    BackImage('A', 1440, 1);
    const std::string full = "/dev/full";
    RunResult result = Run({"S", "A:", full});
    EXPECT_EQ(result.err, Start() + kSProgress + "Can't write Virtual disk file.\n");
    EXPECT_EQ(result.status, 2);
    result = Run({"V", "A:", full});
    ASSERT_EQ(result.err.rfind(Start() + kVProgress, 0), 0u);
    EXPECT_NE(result.err.find("Can't write Virtual disk file.\n"), std::string::npos);
    EXPECT_EQ(result.err.find("Can't read"), std::string::npos);
    EXPECT_EQ(result.status, 2);
}

}  // namespace
