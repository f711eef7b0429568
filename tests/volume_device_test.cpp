// The volume device's own sequence of system calls.
#include "../src/sector/volume_sector_device.h"
#include "fake_windows_api.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

const char kLock[] = "DeviceIoControl volume 00090018 no buffers";
const char kDismount[] = "DeviceIoControl volume 00090020 no buffers";
const char kUnlock[] = "DeviceIoControl volume 0009001C no buffers";

class VolumeDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { g_fakeApi = FakeWindowsApi(); }
    VolumeSectorDevice device;
};

TEST_F(VolumeDeviceTest, OpenOpensAndLocksTheVolumeOfTheDriveLetter)
{
    for (const auto& [drive, name] : {std::pair<int, std::string>{0, "A"}, {2, "C"}, {25, "Z"}}) {
        g_fakeApi.calls.clear();
        SetLastError(99);
        EXPECT_EQ(device.Open(drive, GENERIC_READ | GENERIC_WRITE), kFakeVolume);
        EXPECT_EQ(GetLastError(), 0u);
        EXPECT_EQ(g_fakeApi.calls, (Calls{"CreateFileA \\\\.\\" + name + ": C0000000 3 - 3 0 -", kLock}));
    }
}

TEST_F(VolumeDeviceTest, OpenPassesTheAccessItIsGiven)
{
    device.Open(1, GENERIC_READ);
    EXPECT_EQ(g_fakeApi.calls.front(), "CreateFileA \\\\.\\B: 80000000 3 - 3 0 -");
}

TEST_F(VolumeDeviceTest, AFailedCreateGivesNullWithItsError)
{
    g_fakeApi.createError = ERROR_FILE_NOT_FOUND;
    EXPECT_EQ(device.Open(0, GENERIC_READ | GENERIC_WRITE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(g_fakeApi.calls.size(), 1u);
}

TEST_F(VolumeDeviceTest, ARefusedLockClosesTheVolumeAgain)
{
    g_fakeApi.lockError = ERROR_ACCESS_DENIED;
    EXPECT_EQ(device.Open(0, GENERIC_READ | GENERIC_WRITE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(g_fakeApi.calls, (Calls{"CreateFileA \\\\.\\A: C0000000 3 - 3 0 -", kLock, "CloseHandle volume"}));
}

TEST_F(VolumeDeviceTest, CloseDismountsUnlocksAndClosesWhateverFails)
{
    device.Close(nullptr);
    EXPECT_TRUE(g_fakeApi.calls.empty());
    for (bool failing : {false, true}) {
        g_fakeApi.calls.clear();
        g_fakeApi.controlsFail = failing;
        g_fakeApi.closeFails = failing;
        device.Close(kFakeVolume);
        EXPECT_EQ(g_fakeApi.calls, (Calls{kDismount, kUnlock, "CloseHandle volume"})) << failing;
    }
}

TEST_F(VolumeDeviceTest, SectorsAreMovedAtSectorTimes512WhateverTheDriveIndex)
{
    BYTE buffer[512] = {};
    EXPECT_TRUE(device.ReadSector(kFakeVolume, 5, 1, buffer));
    EXPECT_TRUE(device.WriteSector(kFakeVolume, 0, 1439, buffer));
    EXPECT_EQ(g_fakeApi.calls, (Calls{"SetFilePointer volume 512 - 0", "ReadFile volume 512",
                                      "SetFilePointer volume 736768 - 0", "WriteFile volume 512"}));
}

// The system reports success past the end of a smaller disk with nothing moved.
TEST_F(VolumeDeviceTest, ATransferOfFewerThan512BytesFails)
{
    BYTE buffer[512] = {};
    for (DWORD moved : {0u, 511u}) {
        g_fakeApi.bytesMoved = moved;
        EXPECT_FALSE(device.ReadSector(kFakeVolume, 0, 640, buffer)) << moved;
        EXPECT_FALSE(device.WriteSector(kFakeVolume, 0, 640, buffer)) << moved;
    }
}

}  // namespace
