// A test that runs the built program in a temporary folder of its own.
#pragma once

#include "program_runner.h"
#include "../test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

class EndToEndTest : public ::testing::Test {
protected:
    RunResult Run(const std::vector<std::string>& args, const std::map<std::string, std::string>& environment = {})
    {
        RunResult result = runner.Run(dir.path(), args, environment);
        EXPECT_EQ(result.out, "") << "stdout is never written";
        return result;
    }

    std::string Path(const std::string& name) const { return dir / name; }

    // A base boot sector file that comes with the tool, in the run's folder.
    void CopyBaseBootSector(const std::string& file = "default.bsc")
    {
        std::filesystem::copy_file(std::string(VELDISK_SOURCE_DIR "/") + file, Path(file));
    }

    // What every run that got past the usage check prints first.
    static std::string Start(const std::string& defaultFile = "default.bsc")
    {
        return kBanner + DefaultFileLine(defaultFile);
    }

    TempDir dir;
    ProgramRunner runner;
};
