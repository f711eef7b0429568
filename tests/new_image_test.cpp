#include "command_fixture.h"
#include "progress_lines.h"
#include "image_layout.h"

#include "../src/image/commands.h"

#include <cstdlib>
#include <filesystem>

namespace {

class NewImageTest : public CommandTest {};

class MakeImageFromDiskLayouts : public NewImageTest, public ::testing::WithParamInterface<NewImageLayout> {};

// The disk is given back before the new file has a byte, and only sector 0
// of it is read.
TEST_P(MakeImageFromDiskLayouts, KeepsTheBootSectorAndLaysOutTheMediaType)
{
    const NewImageLayout& layout = GetParam();
    const std::string image = Path("new.dsk");
    std::uintmax_t sizeAtClose = 1;
    device.onClose = [&] { sizeAtClose = std::filesystem::file_size(image); };
    EXPECT_TRUE(Run([&] { return MakeImageFromDisk("A:", image.c_str(), layout.mediaType); }));
    EXPECT_EQ(printed, kMProgress);
    EXPECT_EQ(sizeAtClose, 0u);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"Open", "Read 0", "Close"}));
    EXPECT_EQ(ReadFileBytes(image), ExpectedNewImage(SectorOf(device.disk, 0), layout));
}

INSTANTIATE_TEST_SUITE_P(MediaTypes, MakeImageFromDiskLayouts, ::testing::ValuesIn(kNewImageLayouts));

TEST_F(NewImageTest, MediaTypesOutsideOneToThreeAreLaidOutAsZero)
{
    const Bytes boot = SectorPattern(0, 5);
    WriteFileBytes(Path("boot.bsc"), boot);
    for (int mediaType : {7, -1, 4}) {
        ASSERT_TRUE(Run([&] { return MakeImageFromFile(Path("boot.bsc").c_str(), Path("new.dsk").c_str(), mediaType); }));
        EXPECT_EQ(ReadFileBytes(Path("new.dsk")), ExpectedNewImage(boot, kNewImageLayouts[0])) << mediaType;
    }
}

TEST_F(NewImageTest, MCreatesNoFileWhenTheDiskDoesNotOpen)
{
    device.failOpen = true;
    EXPECT_FALSE(Run([&] { return MakeImageFromDisk("A:", Path("new.dsk").c_str(), 0); }));
    EXPECT_EQ(printed, "Can't open Real disk.\n");
    EXPECT_FALSE(FileExists(Path("new.dsk")));
}

TEST_F(NewImageTest, MLeavesAnEmptyFileWhenSector0CannotBeRead)
{
    device.unreadable.insert(0);
    EXPECT_FALSE(Run([&] { return MakeImageFromDisk("A:", Path("new.dsk").c_str(), 2); }));
    EXPECT_EQ(printed, std::string(kMProgress) + "Can't read Real disk.\n");
    EXPECT_EQ(ReadFileBytes(Path("new.dsk")).size(), 0u);
}

TEST_F(NewImageTest, MWithAFileThatCannotBeCreatedReleasesTheDisk)
{
    EXPECT_FALSE(Run([&] { return MakeImageFromDisk("A:", Path("no/dir/new.dsk").c_str(), 0); }));
    EXPECT_EQ(printed, "Can't open output Virtual disk file\n");
    EXPECT_EQ(device.calls, (std::vector<std::string>{"Open", "Close"}));
}

TEST_F(NewImageTest, AFullVolumeGivesOneMessage)
{
    WriteFileBytes(Path("boot.bsc"), SectorPattern(0));
    EXPECT_FALSE(Run([&] { return MakeImageFromDisk("A:", "/dev/full", 0); }));
    EXPECT_EQ(printed, std::string(kMProgress) + "Can't write Virtual disk file.\n");
    EXPECT_FALSE(Run([&] { return MakeImageFromFile(Path("boot.bsc").c_str(), "/dev/full", 3); }));
    EXPECT_EQ(printed, std::string(kNProgress) + "Can't write Virtual disk file.\n");
}

TEST_F(NewImageTest, NTakesOnlyTheFirst512BytesOfItsSource)
{
    Bytes source = DiskPattern(2, 6);
    source.resize(600);
    WriteFileBytes(Path("boot.bsc"), source);
    EXPECT_TRUE(Run([&] { return MakeImageFromFile(Path("boot.bsc").c_str(), Path("new.dsk").c_str(), 2); }));
    EXPECT_EQ(printed, kNProgress);
    EXPECT_EQ(ReadFileBytes(Path("new.dsk")), ExpectedNewImage(source, kNewImageLayouts[2]));
}

// A source that cannot give its boot sector leaves an empty new file.
TEST_F(NewImageTest, NWithAMissingOrShortSourceLeavesAnEmptyFile)
{
    EXPECT_FALSE(Run([&] { return MakeImageFromFile(Path("missing.bsc").c_str(), Path("a.dsk").c_str(), 0); }));
    EXPECT_EQ(printed, "Can't open input Virtual disk file\n");
    EXPECT_EQ(ReadFileBytes(Path("a.dsk")).size(), 0u);
    EXPECT_TRUE(FileExists(Path("a.dsk")));

    for (size_t size : {size_t{0}, size_t{100}, size_t{511}}) {
        WriteFileBytes(Path("short.bsc"), Bytes(size, 3));
        EXPECT_FALSE(Run([&] { return MakeImageFromFile(Path("short.bsc").c_str(), Path("b.dsk").c_str(), 0); }));
        EXPECT_EQ(printed, std::string(kNProgress) + "Can't read Virtual disk file.\n") << size;
        EXPECT_EQ(ReadFileBytes(Path("b.dsk")).size(), 0u);
    }
}

TEST_F(NewImageTest, NRefusesASourceThatIsTheNewFileUnderAnyName)
{
    const Bytes source = DiskPattern(1440, 2);
    WriteFileBytes(Path("game.dsk"), source);
    std::filesystem::create_directory(Path("sub"));
    std::filesystem::create_symlink(Path("game.dsk"), Path("link.dsk"));
    std::filesystem::create_hard_link(Path("game.dsk"), Path("hard.dsk"));
    const std::string spellings[] = {Path("game.dsk"), Path("sub/../game.dsk"), Path("./link.dsk"), Path("hard.dsk")};
    for (const std::string& newName : spellings) {
        EXPECT_FALSE(Run([&] { return MakeImageFromFile(Path("game.dsk").c_str(), newName.c_str(), 0); }));
        EXPECT_EQ(printed, "Source and new virtual disk file are the same file.\n") << newName;
        EXPECT_EQ(ReadFileBytes(Path("game.dsk")), source) << newName;
    }
}

TEST_F(NewImageTest, NWithANewFileThatCannotBeCreated)
{
    WriteFileBytes(Path("boot.bsc"), SectorPattern(0));
    EXPECT_FALSE(Run([&] { return MakeImageFromFile(Path("boot.bsc").c_str(), Path("no/dir/x.dsk").c_str(), 0); }));
    EXPECT_EQ(printed, "Can't open output Virtual disk file\n");
    EXPECT_EQ(device.opens, 0);
}

}  // namespace
