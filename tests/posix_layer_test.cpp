// The Linux layer under the volume device: drive letters backed by image
// files, the last-error values it leaves, and where sectors land.
#include "../src/sector/volume_sector_device.h"
#include "../src/sector/vwin32_sector_device.h"
#include "exclusive_holder.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class PosixLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        image = dir / "drive.img";
        WriteFileBytes(image, DiskPattern(1440));
        setenv("VLDK_DRIVE_A", image.c_str(), 1);
    }
    void TearDown() override { unsetenv("VLDK_DRIVE_A"); }

    TempDir dir;
    std::string image;
    VolumeSectorDevice device;
};

TEST_F(PosixLayerTest, AGoodOpenLeavesLastErrorZero)
{
    SetLastError(1234);
    HANDLE handle = device.Open(0, GENERIC_READ | GENERIC_WRITE);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    device.Close(handle);
}

TEST_F(PosixLayerTest, DrivesThatAreNotThereAreNotFound)
{
    const int descriptors = OpenDescriptorCount();
    for (int drive : {16, 25, 26}) {
        SetLastError(0);
        EXPECT_EQ(device.Open(drive, GENERIC_READ | GENERIC_WRITE), nullptr) << drive;
        EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND) << drive;
    }
    setenv("VLDK_DRIVE_A", (dir / "missing.img").c_str(), 1);
    EXPECT_EQ(device.Open(0, GENERIC_READ | GENERIC_WRITE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    setenv("VLDK_DRIVE_A", "", 1);
    EXPECT_EQ(device.Open(0, GENERIC_READ | GENERIC_WRITE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

TEST_F(PosixLayerTest, ARefusedLockLeavesNothingOpen)
{
    HANDLE first = device.Open(0, GENERIC_READ | GENERIC_WRITE);
    ASSERT_NE(first, nullptr);
    const int descriptors = OpenDescriptorCount();
    EXPECT_EQ(device.Open(0, GENERIC_READ | GENERIC_WRITE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_LOCK_VIOLATION);
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    device.Close(first);
    {
        ExclusiveHolder holder(image, ExclusiveHolder::FileLock::Posix);
        ASSERT_TRUE(holder.holding());
        EXPECT_EQ(device.Open(0, GENERIC_READ | GENERIC_WRITE), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_LOCK_VIOLATION);
    }
    HANDLE again = device.Open(0, GENERIC_READ | GENERIC_WRITE);
    EXPECT_NE(again, nullptr) << "Close gave the lock back";
    device.Close(again);
}

// The drive index of a transfer has no effect: the handle alone names the disk.
TEST_F(PosixLayerTest, SectorsLieAtTheirOffsets)
{
    HANDLE handle = device.Open(0, GENERIC_READ | GENERIC_WRITE);
    ASSERT_NE(handle, nullptr);
    const Bytes one = SectorPattern(1, 50);
    const Bytes last = SectorPattern(1439, 50);
    EXPECT_TRUE(device.WriteSector(handle, 7, 1, one.data()));
    EXPECT_TRUE(device.WriteSector(handle, 0, 1439, last.data()));
    BYTE read[512];
    EXPECT_TRUE(device.ReadSector(handle, 3, 2, read));
    EXPECT_EQ(Bytes(read, read + 512), SectorPattern(2));
    device.Close(handle);
    const Bytes disk = ReadFileBytes(image);
    ASSERT_EQ(disk.size(), 737280u);
    EXPECT_EQ(Bytes(disk.begin() + 512, disk.begin() + 1024), one);
    EXPECT_EQ(Bytes(disk.begin() + 736768, disk.end()), last);
    EXPECT_EQ(SectorOf(disk, 0), SectorPattern(0));
}

// Past the end of a smaller disk nothing moves, and that is a failure.
TEST_F(PosixLayerTest, TransfersPastTheEndOfTheDiskFail)
{
    WriteFileBytes(image, DiskPattern(640));
    HANDLE handle = device.Open(0, GENERIC_READ | GENERIC_WRITE);
    ASSERT_NE(handle, nullptr);
    BYTE sector[512] = {};
    EXPECT_TRUE(device.ReadSector(handle, 0, 639, sector));
    EXPECT_FALSE(device.ReadSector(handle, 0, 640, sector));
    EXPECT_FALSE(device.WriteSector(handle, 0, 640, sector));
    EXPECT_EQ(GetLastError(), ERROR_SECTOR_NOT_FOUND);
    device.Close(handle);
    EXPECT_EQ(ReadFileBytes(image).size(), 640u * 512);
}

TEST_F(PosixLayerTest, CloseWithANullHandleDoesNothing)
{
    const int descriptors = OpenDescriptorCount();
    SetLastError(77);
    device.Close(nullptr);
    EXPECT_EQ(GetLastError(), 77u);
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

TEST_F(PosixLayerTest, VolumeControlCodes)
{
    HANDLE handle = CreateFileA("\\\\.\\a:", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(device.SendFsctl(handle, FSCTL_UNLOCK_VOLUME), ERROR_NOT_LOCKED);
    EXPECT_EQ(device.SendFsctl(handle, FSCTL_LOCK_VOLUME), 0u);
    EXPECT_EQ(device.SendFsctl(handle, FSCTL_LOCK_VOLUME), ERROR_LOCK_VIOLATION);
    EXPECT_EQ(device.SendFsctl(handle, FSCTL_DISMOUNT_VOLUME), 0u);
    EXPECT_EQ(device.SendFsctl(handle, FSCTL_UNLOCK_VOLUME), 0u);
    EXPECT_EQ(device.SendFsctl(handle, 0x12345), ERROR_INVALID_FUNCTION);
    EXPECT_TRUE(CloseHandle(handle));
    EXPECT_FALSE(CloseHandle(handle));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(PosixLayer, HasNoVwin32DeviceAndReportsTheNtFamily)
{
    Vwin32SectorDevice vwin32;
    EXPECT_EQ(vwin32.Open(0, GENERIC_READ | GENERIC_WRITE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(version.dwPlatformId, VER_PLATFORM_WIN32_NT);
    version.dwOSVersionInfoSize = 100;
    EXPECT_FALSE(GetVersionExA(&version));
}

}  // namespace
