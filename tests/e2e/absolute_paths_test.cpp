// Absolute paths as parameters. On Linux a word that begins with "/" and
// whose folder exists is a parameter; on Windows such a word is an option,
// and a command given one parameter too few prints the usage text.
#include "e2e_fixture.h"
#include "../progress_lines.h"
#include "../image_layout.h"

namespace {

class AbsolutePathsTest : public EndToEndTest {
protected:
    bool PathsAreParameters() const { return !runner.underWine(); }
};

TEST_F(AbsolutePathsTest, VAndRWithAbsoluteFilesAndDrive)
{
    const std::string drive = Path("drive-a.img");
    WriteFileBytes(drive, DiskPattern(1440, 1));
    runner.BackDrive('A', drive);
    WriteFileBytes(Path("game.dsk"), DiskPattern(1440, 2));

    RunResult result = Run({"V", "A:", Path("copy.dsk")});
    if (!PathsAreParameters()) {
        EXPECT_EQ(result.err, Start() + kUsage);
        EXPECT_EQ(result.status, 1);
        return;
    }
    EXPECT_EQ(result.err, Start() + kVProgress);
    EXPECT_EQ(ReadFileBytes(Path("copy.dsk")), DiskPattern(1440, 1));
    result = Run({"R", Path("game.dsk"), "A:", "/M19"});
    EXPECT_EQ(result.err, Start() + kRProgress);
    EXPECT_EQ(ReadFileBytes(drive), DiskPattern(1440, 2));
}

TEST_F(AbsolutePathsTest, NWithAbsolutePathsAndOptionsAfterThem)
{
    const Bytes source = DiskPattern(1440, 3);
    WriteFileBytes(Path("game.dsk"), source);
    CopyBaseBootSector();
    const Bytes boot = ReadFileBytes(Path("default.bsc"));

    RunResult result = Run({"N", Path("game.dsk"), Path("new.dsk"), "/M19"});
    if (!PathsAreParameters()) {
        EXPECT_EQ(result.err, Start() + kUsage);
        return;
    }
    EXPECT_EQ(result.err, Start() + MediaTypeLine(2) + kNProgress);
    EXPECT_EQ(ReadFileBytes(Path("new.dsk")), ExpectedNewImage(source, kNewImageLayouts[2]));

    result = Run({"N", Path("short.dsk"), "/B" + Path("default.bsc"), "/m18"});
    EXPECT_EQ(result.err, Start(Path("default.bsc")) + MediaTypeLine(3) + kNProgress);
    EXPECT_EQ(ReadFileBytes(Path("short.dsk")), ExpectedNewImage(boot, kNewImageLayouts[3]));
}

TEST_F(AbsolutePathsTest, AWordWhoseFolderDoesNotExistStillStartsTheOptions)
{
    const RunResult result = Run({"V", "A:", "/no/such/dir/x.dsk"});
    EXPECT_EQ(result.err, Start() + kUsage);
    EXPECT_EQ(result.status, 1);
}

}  // namespace
