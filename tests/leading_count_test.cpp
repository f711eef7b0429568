#include "../src/driver/leading_count.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

int LeadingCountOf(std::vector<std::string> words)
{
    words.insert(words.begin(), "/usr/local/bin/veldisk");
    std::vector<const char*> argv;
    for (const auto& word : words)
        argv.push_back(word.c_str());
    return FindLeadingCount(static_cast<int>(argv.size()), argv.data());
}

// A word that begins with "/" is a parameter only when the part of it before
// its last "/" is an existing directory.
TEST(LeadingCount, AbsolutePathsAreParametersOptionsAreNot)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "msx");
    std::filesystem::create_directory_symlink(dir / "msx", dir / "link");
    const std::string game = dir / "msx/game.dsk";
    struct Case {
        std::vector<std::string> words;
        int count;
    };
    const Case cases[] = {
        {{"V", "A:", game}, 4},
        {{"V", "A:", game, "/M19"}, 4},
        {{"V", "A:", "/dev/fd0"}, 4},
        {{"R", dir / "link/x.dsk", "A:"}, 4},
        {{"N", dir / "msx/", "/Bboot.bsc"}, 3},
        {{"V", "A:", "disk.dsk", "/m28"}, 4},
        {{"V", "A:", "msx/game.dsk"}, 4},
        {{"V", "A:", "/B", "x.bsc"}, 3},
        {{"V", "A:", "/M"}, 3},
        {{"B", "/B" + game, "A:"}, 2},
        {{"V", "A:", "/no/such/dir/x.dsk"}, 3},
        {{"V", "A:", "/"}, 3},
        {{"V", "/Bx.bsc", "A:", "disk.dsk"}, 2},
        {{"/M19", "A:"}, 1},
        {{"V", "A:", "disk.dsk", "extra"}, 5},
        {{}, 1},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto& word : c.words)
            joined += word + " ";
        EXPECT_EQ(LeadingCountOf(c.words), c.count) << joined;
    }
}

}  // namespace
