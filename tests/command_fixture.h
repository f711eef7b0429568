// A command routine run against a FakeSectorDevice in a temporary folder,
// with what it printed on stderr.
#pragma once

#include "fake_sector_device.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

class CommandTest : public ::testing::Test {
protected:
    // Runs the routine, keeps its result and its stderr text, and checks that
    // it left no file open and closed the disk once for each open.
    bool Run(const std::function<bool()>& routine)
    {
        InstalledDevice installed(device);
        const int descriptors = OpenDescriptorCount();
        ::testing::internal::CaptureStderr();
        const bool result = routine();
        printed = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(OpenDescriptorCount(), descriptors) << "a file was left open";
        EXPECT_EQ(device.closes, device.failOpen ? 0 : device.opens) << "the disk was not closed once";
        return result;
    }

    std::string Path(const std::string& name) const { return dir / name; }

    FakeSectorDevice device;
    TempDir dir;
    std::string printed;
};
