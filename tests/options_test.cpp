#include "../src/driver/options.h"
#include "../src/driver/settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Each case starts from media type 0 and the name "default.bsc" unless it
// says otherwise.
struct OptionCase {
    std::string source;  // words joined with "|" for the command line; the text for VLDK
    int mediaType;
    std::string name;
    bool namesFit = true;
    int startMediaType = 0;
};

std::ostream& operator<<(std::ostream& out, const OptionCase& c) { return out << '"' << c.source << '"'; }

std::vector<std::string> Words(const std::string& joined)
{
    std::vector<std::string> words{"veldisk", "N", "new.dsk"};
    size_t start = 0;
    for (size_t bar; (bar = joined.find('|', start)) != std::string::npos; start = bar + 1)
        words.push_back(joined.substr(start, bar - start));
    words.push_back(joined.substr(start));
    return words;
}

const std::string kLongName(68, 'x');
const std::string kLongestName(67, 'y');

// Runs a parser on the case's source from the case's starting settings and
// checks what it made of them.
class OptionsTest : public ::testing::TestWithParam<OptionCase> {
protected:
    void ExpectParsed(const std::function<bool(const OptionCase&)>& parse)
    {
        const OptionCase& c = GetParam();
        SetDefaultSettings();
        g_mediaType = c.startMediaType;
        EXPECT_EQ(parse(c), c.namesFit);
        EXPECT_EQ(g_mediaType, c.mediaType);
        EXPECT_EQ(g_baseBootSectorFile, c.name);
    }
};

class CommandLineOptions : public OptionsTest {};

TEST_P(CommandLineOptions, SetTheSettings)
{
    ExpectParsed([](const OptionCase& c) {
        const std::vector<std::string> words = Words(c.source);
        std::vector<const char*> argv;
        for (const auto& word : words)
            argv.push_back(word.c_str());
        return ParseCommandLineOptions(static_cast<int>(argv.size()), argv.data(), 3);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineOptions,
    ::testing::Values(OptionCase{"/M19", 2, "default.bsc"}, OptionCase{"/m19", 2, "default.bsc"},
                      OptionCase{"/M|19", 2, "default.bsc"}, OptionCase{"/M190", 2, "default.bsc"},
                      OptionCase{"/M18", 3, "default.bsc"}, OptionCase{"/M28", 1, "default.bsc"},
                      OptionCase{"/M1", 0, "default.bsc"}, OptionCase{"/M|1", 0, "default.bsc"},
                      OptionCase{"/M29", 0, "default.bsc"}, OptionCase{"/Mxyz", 0, "default.bsc"},
                      OptionCase{"/M29", 3, "default.bsc", true, 3}, OptionCase{"/M", 0, "default.bsc"},
                      OptionCase{"/B", 0, "default.bsc"}, OptionCase{"/M|/Bboot.bsc", 0, "default.bsc"},
                      OptionCase{"/Bmy file.bsc", 0, "my file.bsc"}, OptionCase{"/B|my file.bsc", 0, "my file.bsc"},
                      OptionCase{"/bx.bsc", 0, "x.bsc"}, OptionCase{"/m28|junk|/b|q.bsc", 1, "q.bsc"},
                      OptionCase{"/B|", 0, ""}, OptionCase{"/B|/M19", 0, "/M19"},
                      OptionCase{"/M19|/M18|/M29", 3, "default.bsc"}, OptionCase{"/Ba|/Bb", 0, "b"},
                      OptionCase{"/X19|M19|/Q", 0, "default.bsc"},
                      OptionCase{"/B" + kLongestName, 0, kLongestName},
                      OptionCase{"/B" + kLongName, 0, "default.bsc", false},
                      OptionCase{"/B|" + kLongName + "|/M19", 2, "default.bsc", false}));

class EnvironmentOptions : public OptionsTest {};

TEST_P(EnvironmentOptions, SetTheSettings)
{
    ExpectParsed([](const OptionCase& c) { return ParseEnvironmentOptions(c.source.c_str()); });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnvironmentOptions,
    ::testing::Values(OptionCase{"/M19", 2, "default.bsc"}, OptionCase{"/m19", 2, "default.bsc"},
                      OptionCase{"/M  \t 19", 2, "default.bsc"}, OptionCase{"/M190", 2, "default.bsc"},
                      OptionCase{"/M1", 0, "default.bsc"}, OptionCase{"/M 1", 0, "default.bsc"},
                      OptionCase{"/M29", 0, "default.bsc"}, OptionCase{"/M", 0, "default.bsc"},
                      OptionCase{"/B  ", 0, "default.bsc"}, OptionCase{"/B /M19", 0, "/M19"},
                      OptionCase{"/M /B x", 0, "default.bsc"}, OptionCase{"/M19/Bfoo", 2, "default.bsc"},
                      OptionCase{"/Bfoo/M19", 0, "foo/M19"},
                      OptionCase{"  \t/M28\t/Bboot.bsc   ", 1, "boot.bsc"},
                      OptionCase{"/Bmy file.bsc", 0, "my"}, OptionCase{"", 0, "default.bsc"},
                      OptionCase{" \t \t", 0, "default.bsc"}, OptionCase{"/B\nx /M18", 3, "\nx"},
                      OptionCase{"junk /b q.bsc /m18", 3, "q.bsc"},
                      OptionCase{"/B" + kLongestName + " /M28", 1, kLongestName},
                      OptionCase{"/B" + kLongName + " /M28", 1, "default.bsc", false}));

}  // namespace
