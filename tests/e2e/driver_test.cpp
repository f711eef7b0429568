// The program as a whole: banner, usage, dispatch, options and exit status,
// and N, which needs no disk.
#include "e2e_fixture.h"
#include "../progress_lines.h"
#include "../image_layout.h"

namespace {

class DriverTest : public EndToEndTest {
protected:
    // A drive A: whose disk is a patterned 720 KB image.
    void BackDriveA() {
        WriteFileBytes(Path("drive-a.img"), DiskPattern(1440, 1));
        runner.BackDrive('A', Path("drive-a.img"));
    }
};

TEST_F(DriverTest, NoArgumentsPrintsBannerAndUsage)
{
    const RunResult result = Run({});
    EXPECT_EQ(result.err, std::string(kBanner) + kUsage);
    EXPECT_EQ(result.status, 1);
}

// Whatever cannot be dispatched gets the usage text after the default-file line.
TEST_F(DriverTest, UnknownCommandsAndTooFewParametersPrintUsage)
{
    const std::vector<std::vector<std::string>> cases = {
        {"X", "A:", "disk.dsk"}, {"V", "A:"}, {"R", "disk.dsk"}, {"S", "A:"}, {"M", "A:"}, {"B"}, {"N"},
        {"V"},                   {"", "A:", "disk.dsk"},          {"1", "A:", "disk.dsk"},
    };
    for (const auto& args : cases) {
        const RunResult result = Run(args);
        EXPECT_EQ(result.err, Start() + kUsage) << args[0];
        EXPECT_EQ(result.status, 1) << args[0];
    }
    EXPECT_FALSE(FileExists(Path("disk.dsk")));
}

TEST_F(DriverTest, OptionsBeforeTheParametersLeaveTooFewOfThem)
{
    const RunResult result = Run({"V", "/Bx.bsc", "A:", "disk.dsk"});
    EXPECT_EQ(result.err, Start("x.bsc") + kUsage);
    EXPECT_EQ(result.status, 1);
}

// Only the first character of the command word counts, in either case;
// words after the two parameters are ignored.
TEST_F(DriverTest, CommandLetterAndExtraWords)
{
    BackDriveA();
    const std::vector<std::vector<std::string>> cases = {
        {"v", "A:", "1.dsk"}, {"Verify", "A:", "2.dsk"}, {"V", "A:", "3.dsk", "extra", "more"}};
    for (const auto& args : cases) {
        const RunResult result = Run(args);
        EXPECT_EQ(result.err, Start() + kVProgress) << args[0];
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(ReadFileBytes(Path(args[2])), DiskPattern(1440, 1)) << args[0];
    }
    EXPECT_FALSE(FileExists(Path("extra")));
}

TEST_F(DriverTest, ShortFormsUseTheBaseBootSectorFile)
{
    BackDriveA();
    CopyBaseBootSector();
    RunResult result = Run({"B", "A:"});
    EXPECT_EQ(result.err, Start() + "Copying real disk's Boot sector from virtual disk file's Boot sector...\n");
    EXPECT_EQ(result.status, 0);
    const Bytes boot = ReadFileBytes(Path("default.bsc"));
    EXPECT_EQ(SectorOf(ReadFileBytes(Path("drive-a.img")), 0), boot);

    result = Run({"N", "new.dsk"});
    EXPECT_EQ(result.err, Start() + MediaTypeLine(0) + kNProgress);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFileBytes(Path("new.dsk")), ExpectedNewImage(boot, kNewImageLayouts[0]));
}

TEST_F(DriverTest, MPrintsTheDefaultMediaTypeBeforeItsOwnLines)
{
    BackDriveA();
    const RunResult result = Run({"M", "A:", "new.dsk"});
    EXPECT_EQ(result.err, Start() + MediaTypeLine(0) + "Making new virturl disk file from real disk.\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFileBytes(Path("new.dsk")), ExpectedNewImage(SectorPattern(0, 1), kNewImageLayouts[0]));
}

// What VLDK and the command line together make of the two settings, as the
// default-file line and the media type line show them.
TEST_F(DriverTest, VldkThenTheCommandLine)
{
    WriteFileBytes(Path("vldk.bsc"), SectorPattern(0, 2));
    WriteFileBytes(Path("cmd.bsc"), SectorPattern(0, 3));
    WriteFileBytes(Path("my file.bsc"), SectorPattern(0, 4));
    const struct {
        std::string vldk;  // "-": VLDK not set
        std::vector<std::string> options;
        std::string name;
        int mediaType;
    } cases[] = {
        {"/Bvldk.bsc", {"/Bcmd.bsc"}, "cmd.bsc", 0},
        {"/Bvldk.bsc", {}, "vldk.bsc", 0},
        {"/M18", {"/M29"}, "default.bsc", 3},
        {"/M18", {"/m28"}, "default.bsc", 1},
        {"  /M 19\t/Bcmd.bsc ", {}, "cmd.bsc", 2},
        {"/Bmy file.bsc", {"/M18"}, "my", 3},
        {"-", {"/B", "my file.bsc"}, "my file.bsc", 0},
        {"-", {"/M", "/Bcmd.bsc"}, "default.bsc", 0},
        {"", {"/m28", "junk", "/b", "cmd.bsc"}, "cmd.bsc", 1},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"N", "new.dsk"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        std::map<std::string, std::string> environment;
        if (c.vldk != "-")
            environment["VLDK"] = c.vldk;
        const RunResult result = Run(args, environment);
        const bool sourceExists = FileExists(Path(c.name));
        EXPECT_EQ(result.err, Start(c.name) + MediaTypeLine(c.mediaType)
                                  + (sourceExists ? kNProgress : "Can't open input Virtual disk file\n"))
            << "VLDK=" << c.vldk;
        EXPECT_EQ(result.status, sourceExists ? 0 : 2);
    }
}

TEST_F(DriverTest, ALongBaseBootSectorFileNameStopsTheRun)
{
    const std::string longName = "/B" + std::string(68, 'n');
    const std::vector<std::pair<std::map<std::string, std::string>, std::vector<std::string>>> cases = {
        {{}, {"N", "new.dsk", longName}},
        {{{"VLDK", longName}}, {"N", "new.dsk"}},
        {{{"VLDK", longName}}, {"V", "A:"}},
    };
    for (const auto& [environment, args] : cases) {
        const RunResult result = Run(args, environment);
        EXPECT_EQ(result.err, std::string(kBanner) + "Base boot sector file name is too long.\n");
        EXPECT_EQ(result.status, 2);
    }
    EXPECT_FALSE(FileExists(Path("new.dsk")));
    const RunResult longest = Run({"N", "new.dsk", "/B" + std::string(67, 'n')});
    EXPECT_EQ(longest.err, Start(std::string(67, 'n')) + MediaTypeLine(0) + "Can't open input Virtual disk file\n");
}

class NewImageOfEachMediaType : public DriverTest, public ::testing::WithParamInterface<NewImageLayout> {};

TEST_P(NewImageOfEachMediaType, MatchesTheLayoutByteForByte)
{
    const NewImageLayout& layout = GetParam();
    const char* codes[] = {"/M29", "/M28", "/M19", "/M18"};
    const Bytes source = DiskPattern(1440, 7);
    WriteFileBytes(Path("game.dsk"), source);
    const RunResult result = Run({"N", "game.dsk", "new.dsk", codes[layout.mediaType]});
    EXPECT_EQ(result.err, Start() + MediaTypeLine(layout.mediaType) + kNProgress);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFileBytes(Path("new.dsk")), ExpectedNewImage(source, layout));
}

INSTANTIATE_TEST_SUITE_P(MediaTypes, NewImageOfEachMediaType, ::testing::ValuesIn(kNewImageLayouts));

TEST_F(DriverTest, NWithASourceThatCannotGiveABootSector)
{
    WriteFileBytes(Path("short.bsc"), Bytes(100, 1));
    RunResult result = Run({"N", "missing.bsc", "a.dsk"});
    EXPECT_EQ(result.err, Start() + MediaTypeLine(0) + "Can't open input Virtual disk file\n");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(ReadFileBytes(Path("a.dsk")).size(), 0u);

    result = Run({"N", "short.bsc", "b.dsk"});
    EXPECT_EQ(result.err, Start() + MediaTypeLine(0) + kNProgress + "Can't read Virtual disk file.\n");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(ReadFileBytes(Path("b.dsk")).size(), 0u);
}

TEST_F(DriverTest, NRefusesToMakeItsSourceIntoTheNewFile)
{
    CopyBaseBootSector();
    const Bytes boot = ReadFileBytes(Path("default.bsc"));
    std::filesystem::create_directory(Path("sub"));
    const std::vector<std::vector<std::string>> cases = {
        {"N", "default.bsc", "default.bsc"}, {"N", "default.bsc", "sub/../default.bsc"}, {"N", "default.bsc"}};
    for (const auto& args : cases) {
        const RunResult result = Run(args);
        EXPECT_EQ(result.err, Start() + MediaTypeLine(0) + "Source and new virtual disk file are the same file.\n");
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(ReadFileBytes(Path("default.bsc")), boot);
    }
}

}  // namespace
