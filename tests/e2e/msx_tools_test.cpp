// New images opened by the FAT and MSX tools that people use with them:
// mtools, dosfstools' fsck.fat and the openMSX emulator's disk manipulator.
// With the base boot sector of its media type an image passes them all; the
// 720 KB boot sector on a smaller media type does not.
#include "e2e_fixture.h"
#include "../image_layout.h"
#include "../requirements.h"
#include "../../src/image/media_type.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include <sys/wait.h>

namespace {

struct ToolResult {
    int status = -1;
    std::string output;  // stdout and stderr together
};

// Runs a shell command line in the folder given.
ToolResult RunTool(const std::string& folder, const std::string& command)
{
    ToolResult result;
    const std::string line = "cd '" + folder + "' && " + command + " </dev/null 2>&1";
    if (FILE* pipe = popen(line.c_str(), "r")) {
        char chunk[512];
        for (size_t count; (count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            result.output.append(chunk, count);
        const int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return result;
}

// What is missing here of the tools the tests run, or empty.
std::string MissingTools()
{
    std::string missing;
    for (const char* tool : {"mdir", "mcopy", "fsck.fat", "openmsx"})
        if (RunTool("/", std::string("command -v ") + tool).status != 0)
            missing += std::string(missing.empty() ? "" : ", ") + tool;
    if (!FileExists("/usr/share/openmsx/machines/C-BIOS_MSX2+"))
        missing += std::string(missing.empty() ? "" : ", ") + "the C-BIOS machines of openMSX (package cbios)";
    return missing;
}

// "730 112": mtools groups the digits of byte counts in threes.
std::string Grouped(size_t number)
{
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), " ");
    return digits;
}

// Whether a line of mdir's listing begins with the name, extension and size.
bool Lists(const std::string& listing, const std::string& name, const std::string& extension, size_t size)
{
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first, second, third;
        if (words >> first >> second >> third && first == name && second == extension && third == std::to_string(size))
            return true;
    }
    return false;
}

struct BaseBootSector {
    int mediaType;
    const char* file;
};

std::ostream& operator<<(std::ostream& out, const BaseBootSector& base) { return out << base.file; }

class MsxToolsTest : public EndToEndTest {
protected:
    void SetUp() override
    {
        static const std::string missing = MissingTools();
        RequireAvailable(missing.empty() ? "" : "missing: " + missing);
    }

    ToolResult Tool(const std::string& command) { return RunTool(dir.path(), command); }

    // The media type's "/M" option, or nothing for the default.
    static std::vector<std::string> MediaOption(int mediaType)
    {
        const char* code = kMediaTypes[mediaType].optionCode;
        return code != nullptr ? std::vector<std::string>{std::string("/M") + code} : std::vector<std::string>{};
    }

    RunResult MakeImage(const std::string& image, const BaseBootSector& base)
    {
        CopyBaseBootSector(base.file);
        std::vector<std::string> args = {"N", image};
        for (const std::string& option : MediaOption(base.mediaType))
            args.push_back(option);
        args.push_back(std::string("/B") + base.file);
        return Run(args);
    }

    // fsck.fat reads a volume label where the MSX boot code begins and
    // always notes that it is not valid; it finds nothing else, and counts
    // the files and the clusters in use of all there are.
    void ExpectFsckFindsNothing(const std::string& image, const std::string& counts)
    {
        const ToolResult result = Tool("fsck.fat -n " + image);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.output.substr(result.output.find('\n') + 1),
                  "Label '' stored in boot sector is not valid.\n"
                  "  Auto-removing label from boot sector.\n"
                  "\n"
                  "Leaving filesystem unchanged.\n" +
                      image + ": " + counts + " clusters\n");
    }

    // fsck.fat finds nothing to mend in the new image; mtools lists it empty,
    // copies two files in and out again, and fsck.fat still finds nothing;
    // then openMSX imports a third file and exports all three.
    void ExpectToolsAccept(const std::string& image, int mediaType)
    {
        const size_t clusters = static_cast<size_t>(kMediaTypes[mediaType].dataSectors) / 2;
        ExpectFsckFindsNothing(image, "0 files, 0/" + std::to_string(clusters));
        ToolResult result = Tool("mdir -i " + image + " ::");
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_NE(result.output.find("No files\n"), std::string::npos) << result.output;
        EXPECT_NE(result.output.find(" " + Grouped(clusters * 1024) + " bytes free\n"), std::string::npos)
            << result.output;

        const Bytes small = DiskPattern(1, 7);
        const Bytes big = DiskPattern(10, 8);  // 5 clusters
        WriteFileBytes(Path("SMALL.TXT"), Bytes(small.begin(), small.begin() + 100));
        WriteFileBytes(Path("BIG.BIN"), big);
        result = Tool("mcopy -i " + image + " SMALL.TXT BIG.BIN ::");
        EXPECT_EQ(result.status, 0) << result.output;
        result = Tool("mdir -i " + image + " ::");
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_TRUE(Lists(result.output, "SMALL", "TXT", 100)) << result.output;
        EXPECT_TRUE(Lists(result.output, "BIG", "BIN", big.size())) << result.output;
        std::filesystem::create_directory(Path("out"));
        result = Tool("mcopy -i " + image + " ::SMALL.TXT ::BIG.BIN out");
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_EQ(ReadFileBytes(Path("out/SMALL.TXT")), ReadFileBytes(Path("SMALL.TXT")));
        EXPECT_EQ(ReadFileBytes(Path("out/BIG.BIN")), big);

        ExpectFsckFindsNothing(image, "2 files, 6/" + std::to_string(clusters));

        const Bytes game = DiskPattern(6, 9);
        WriteFileBytes(Path("GAME.BAS"), game);
        std::filesystem::create_directory(Path("export"));
        std::filesystem::create_directory(Path("home"));
        result = Tool("HOME='" + Path("home") + "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 60 "
                      "openmsx -machine C-BIOS_MSX2+ -command 'virtual_drive " + Path(image) + "'"
                      " -command 'diskmanipulator import virtual_drive " + Path("GAME.BAS") + "'"
                      " -command 'diskmanipulator export virtual_drive " + Path("export") + "'"
                      " -command exit");
        EXPECT_EQ(result.status, 0) << result.output;
        // openMSX writes the names of the exported files in lower case.
        EXPECT_EQ(ReadFileBytes(Path("export/small.txt")), ReadFileBytes(Path("SMALL.TXT")));
        EXPECT_EQ(ReadFileBytes(Path("export/big.bin")), big);
        EXPECT_EQ(ReadFileBytes(Path("export/game.bas")), game);
        size_t exported = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Path("export")))
            ++exported;
        EXPECT_EQ(exported, 3u);
    }
};

class MediaTypeToolsTest : public MsxToolsTest, public ::testing::WithParamInterface<BaseBootSector> {};

TEST_P(MediaTypeToolsTest, NWithTheMatchingBootSector)
{
    const RunResult result = MakeImage("new.dsk", GetParam());
    ASSERT_EQ(result.status, 0) << result.err;
    ExpectToolsAccept("new.dsk", GetParam().mediaType);
}

TEST_P(MediaTypeToolsTest, MFromADiskWithTheMatchingBootSector)
{
    ASSERT_EQ(MakeImage("drive-a.img", GetParam()).status, 0);
    runner.BackDrive('A', Path("drive-a.img"));
    std::vector<std::string> args = {"M", "A:", "new.dsk"};
    for (const std::string& option : MediaOption(GetParam().mediaType))
        args.push_back(option);
    const RunResult result = Run(args);
    ASSERT_EQ(result.status, 0) << result.err;
    ExpectToolsAccept("new.dsk", GetParam().mediaType);
}

INSTANTIATE_TEST_SUITE_P(EachMediaType, MediaTypeToolsTest,
                         ::testing::Values(BaseBootSector{0, "default.bsc"}, BaseBootSector{1, "2dd8.bsc"},
                                           BaseBootSector{2, "1dd9.bsc"}, BaseBootSector{3, "1dd8.bsc"}));

// The boot sector is copied as it is: the 720 KB one on a 1DD 8-sector
// image describes a disk that the image is not, and mtools refuses it.
TEST_F(MsxToolsTest, The720KBootSectorOnASmallerMediaTypeIsRefused)
{
    CopyBaseBootSector();
    ASSERT_EQ(Run({"N", "small.dsk", "/M18"}).status, 0);
    const ToolResult result = Tool("mdir -i small.dsk ::");
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.output.find("Bad media types fa/f9, probably non-MSDOS disk"), std::string::npos)
        << result.output;
}

}  // namespace
