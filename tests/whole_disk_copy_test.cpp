#include "command_fixture.h"
#include "progress_lines.h"

#include "../src/image/commands.h"

#include <algorithm>
#include <ostream>

namespace {

class WholeDiskCopyTest : public CommandTest {};

TEST_F(WholeDiskCopyTest, VCopiesEverySectorToItsOffset)
{
    ASSERT_TRUE(Run([&] { return CopyDiskToImage("b:", Path("disk.dsk").c_str()); }));
    EXPECT_EQ(printed, kVProgress);
    EXPECT_EQ(ReadFileBytes(Path("disk.dsk")), device.disk);
    EXPECT_EQ(device.openedDrive, 1);
    EXPECT_EQ(device.openedAccess, GENERIC_READ | GENERIC_WRITE);
    EXPECT_EQ(device.transferDrives, std::set<int>{1});
    EXPECT_EQ(device.calls.back(), "Close");
}

TEST_F(WholeDiskCopyTest, VStoresZerosForEachUnreadableSectorAndGoesOn)
{
    for (DWORD sector : {0u, 700u, 1439u})
        device.unreadable.insert(sector);
    EXPECT_FALSE(Run([&] { return CopyDiskToImage("A:", Path("disk.dsk").c_str()); }));
    EXPECT_EQ(printed, std::string(kVProgress) + "Can't read Real disk sector 0\n"
                           "Can't read Real disk sector 700\n"
                           "Can't read Real disk sector 1439\n");
    const Bytes image = ReadFileBytes(Path("disk.dsk"));
    ASSERT_EQ(image.size(), 737280u);
    for (uint32_t sector = 0; sector < 1440; ++sector) {
        const Bytes expected = device.unreadable.count(sector) ? Bytes(512, 0) : SectorOf(device.disk, sector);
        ASSERT_EQ(SectorOf(image, sector), expected) << "sector " << sector;
    }
}

TEST_F(WholeDiskCopyTest, VFromASmallerDiskStillWritesAWholeImage)
{
    device = FakeSectorDevice(640);
    EXPECT_FALSE(Run([&] { return CopyDiskToImage("A:", Path("disk.dsk").c_str()); }));
    const Bytes image = ReadFileBytes(Path("disk.dsk"));
    ASSERT_EQ(image.size(), 737280u);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 640 * 512), device.disk);
    EXPECT_EQ(Bytes(image.begin() + 640 * 512, image.end()), Bytes(800 * 512, 0));
    EXPECT_NE(printed.find("Can't read Real disk sector 640\n"), std::string::npos);
    EXPECT_NE(printed.find("Can't read Real disk sector 1439\n"), std::string::npos);
}

TEST_F(WholeDiskCopyTest, VReportsAFileThatCannotBeWritten)
{
    EXPECT_FALSE(Run([&] { return CopyDiskToImage("A:", "/dev/full"); }));
    ASSERT_EQ(printed.rfind(kVProgress, 0), 0u);
    EXPECT_NE(printed.find("Can't write Virtual disk file.\n"), std::string::npos);
    EXPECT_EQ(printed.find("Can't read"), std::string::npos);
}

TEST_F(WholeDiskCopyTest, VOpensNoFileWhenTheDiskDoesNotOpen)
{
    device.failOpen = true;
    WriteFileBytes(Path("disk.dsk"), Bytes(100, 7));
    EXPECT_FALSE(Run([&] { return CopyDiskToImage("A:", Path("disk.dsk").c_str()); }));
    EXPECT_EQ(printed, "Can't open Real disk.\n");
    EXPECT_EQ(ReadFileBytes(Path("disk.dsk")), Bytes(100, 7));
}

TEST_F(WholeDiskCopyTest, VReleasesTheDiskWhenTheFileCannotBeCreated)
{
    EXPECT_FALSE(Run([&] { return CopyDiskToImage("A:", Path("no/such/dir.dsk").c_str()); }));
    EXPECT_EQ(printed, "Can't open output Virtual disk file\n");
    EXPECT_EQ(device.calls, (std::vector<std::string>{"Open", "Close"}));
}

// R: what becomes of the disk for each size of source file.
struct RCase {
    const char* name;
    size_t fileBytes;
    uint32_t sectorsWritten;
    bool readFailure;
};

std::ostream& operator<<(std::ostream& out, const RCase& c) { return out << c.name; }

class CopyImageToDiskSizes : public WholeDiskCopyTest, public ::testing::WithParamInterface<RCase> {};

TEST_P(CopyImageToDiskSizes, WritesTheWholeSectorsTheFileHolds)
{
    const RCase& c = GetParam();
    Bytes source = DiskPattern(1441, 9);
    source.resize(c.fileBytes);
    WriteFileBytes(Path("in.dsk"), source);
    const Bytes before = device.disk;
    EXPECT_EQ(Run([&] { return CopyImageToDisk(Path("in.dsk").c_str(), "a"); }), !c.readFailure);
    EXPECT_EQ(printed, std::string(kRProgress) + (c.readFailure ? "Can't read Virtual disk file.\n" : ""));
    for (uint32_t sector = 0; sector < 1440; ++sector) {
        const Bytes& expected = sector < c.sectorsWritten ? source : before;
        ASSERT_EQ(SectorOf(device.disk, sector), SectorOf(expected, sector)) << "sector " << sector;
    }
    EXPECT_EQ(std::count_if(device.calls.begin(), device.calls.end(),
                            [](const std::string& call) { return call.rfind("Write", 0) == 0; }),
              c.sectorsWritten);
}

INSTANTIATE_TEST_SUITE_P(Files, CopyImageToDiskSizes,
                         ::testing::Values(RCase{"whole", 737280, 1440, false},
                                           RCase{"longer", 737280 + 512 + 100, 1440, false},
                                           RCase{"half", 368640, 720, true},
                                           RCase{"odd", 512 * 3 + 100, 3, true},
                                           RCase{"empty", 0, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WholeDiskCopyTest, RReportsEachUnwritableSectorAndGoesOn)
{
    device.unwritable = {5, 1439};
    WriteFileBytes(Path("in.dsk"), DiskPattern(1440, 3));
    EXPECT_FALSE(Run([&] { return CopyImageToDisk(Path("in.dsk").c_str(), "A:"); }));
    EXPECT_EQ(printed, std::string(kRProgress) + "Can't write Real disk sector 5\nCan't write Real disk sector 1439\n");
    EXPECT_EQ(SectorOf(device.disk, 6), SectorPattern(6, 3));
}

TEST_F(WholeDiskCopyTest, RWithAMissingFileLeavesTheDiskAlone)
{
    const Bytes before = device.disk;
    EXPECT_FALSE(Run([&] { return CopyImageToDisk(Path("missing.dsk").c_str(), "A:"); }));
    EXPECT_EQ(printed, "Can't open input Virtual disk file\n");
    EXPECT_EQ(device.disk, before);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"Open", "Close"}));
}

}  // namespace
