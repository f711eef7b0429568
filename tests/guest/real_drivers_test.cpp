// The disk commands on Linux's own block drivers, in a guest under QEMU: the
// floppy driver over QEMU's floppy controller, and a SCSI disk made by
// scsi_debug, which is what a USB floppy drive is to Linux, with sectors
// that fail with medium errors.
#include "guest_machine.h"
#include "../image_layout.h"
#include "../program_texts.h"
#include "../progress_lines.h"
#include "../requirements.h"
#include "../../src/image/media_type.h"

#include <gtest/gtest.h>

#include <iostream>

namespace {

constexpr uint32_t kDataStart = 14;  // the first data sector of a 720 KB disk
constexpr uint32_t kBadSectors[] = {100, 101};

class RealDriverTest : public ::testing::Test {
protected:
    void SetUp() override { RequireAvailable(GuestUnavailable()); }

    // Boots with the floppy drive holding the disk given, and shows the
    // guest's reports on the console, the boot's time and the kernel.
    GuestRun Boot(GuestBoot& boot, const Bytes& floppy)
    {
        boot.floppy = dir / "floppy.img";
        WriteFileBytes(boot.floppy, floppy);
        const GuestRun run = BootGuest(boot);
        std::cout << "Guest console, the lines for the host:\n";
        for (size_t at = 0, end; (end = run.console.find('\n', at)) != std::string::npos; at = end + 1) {
            const std::string line = run.console.substr(at, end - at);
            const size_t report = line.find("VLDK-");
            if (report != std::string::npos)
                std::cout << "  " << line.substr(report) << "\n";
            else if (line.find("reboot:") != std::string::npos)
                std::cout << "  " << line << "\n";
        }
        std::cout << "The boot took " << run.seconds << " s, with " << GuestKernelPackage() << ".\n";
        EXPECT_TRUE(run.finished) << run.console;
        EXPECT_EQ(run.failures, std::vector<std::string>{});
        return run;
    }

    static void ExpectStep(const GuestRun& run, const std::string& name, int status, const std::string& err)
    {
        const auto step = run.steps.find(name);
        ASSERT_NE(step, run.steps.end()) << "step " << name << " did not run";
        EXPECT_EQ(step->second.status, status) << "step " << name;
        EXPECT_EQ(step->second.err, err) << "step " << name;
    }

    static void ExpectFile(const GuestRun& run, const std::string& name, const std::string& verdict)
    {
        const auto file = run.files.find(name);
        ASSERT_NE(file, run.files.end()) << "file " << name << " was not compared";
        EXPECT_EQ(file->second, verdict) << "file " << name;
    }

    static std::string Start() { return kBanner + DefaultFileLine("default.bsc"); }

    TempDir dir;
};

// A 720 KB disk that the vfat driver mounts, with patterned data sectors.
Bytes FatDisk()
{
    Bytes disk = ExpectedNewImage(ReadFileBytes(VELDISK_SOURCE_DIR "/default.bsc"), kNewImageLayouts[0]);
    for (uint32_t sector = kDataStart; sector < 1440; ++sector) {
        const Bytes data = SectorPattern(sector, 5);
        std::copy(data.begin(), data.end(), disk.begin() + sector * 512);
    }
    return disk;
}

Bytes WithSector(Bytes disk, uint32_t sector, const Bytes& data)
{
    std::copy(data.begin(), data.end(), disk.begin() + sector * 512);
    return disk;
}

TEST_F(RealDriverTest, FloppyDrive)
{
    const Bytes disk = FatDisk();
    const Bytes game = DiskPattern(1440, 2);
    const Bytes boot = SectorPattern(0, 9);
    GuestBoot guest;
    guest.files = {{"data/disk.dsk", disk}, {"data/game.dsk", game}, {"data/boot.bsc", boot},
                   {"expect/game.bsc", SectorOf(game, 0)}};
    guest.steps =
        "step v veldisk V A: v.dsk\n"
        "compare v v.dsk /data/disk.dsk\n"
        "step mount mount -t vfat /dev/fd0 /mnt\n"
        "step v-mounted veldisk V A: mounted.dsk\n"
        "compare v-mounted mounted.dsk /data/disk.dsk\n"
        "step umount umount /mnt\n"
        "step v-unmounted veldisk V A: unmounted.dsk\n"
        "compare v-unmounted unmounted.dsk /data/disk.dsk\n";
    for (const NewImageLayout& layout : kNewImageLayouts) {
        const std::string name = "m" + std::to_string(layout.mediaType);
        const char* code = kMediaTypes[layout.mediaType].optionCode;
        guest.files["expect/" + name + ".dsk"] = ExpectedNewImage(SectorOf(disk, 0), layout);
        guest.steps += "step " + name + " veldisk M A: " + name + ".dsk" + (code ? std::string(" /M") + code : "") +
                       "\ncompare " + name + " " + name + ".dsk /expect/" + name + ".dsk\n";
    }
    // The guest powers off right after B, with no sync: what R and B wrote
    // must be on the disk already.
    guest.steps +=
        "step r veldisk R /data/game.dsk A:\n"
        "step s veldisk S A: s.bsc\n"
        "compare s s.bsc /expect/game.bsc\n"
        "step b veldisk B /data/boot.bsc A:\n";
    const GuestRun run = Boot(guest, disk);

    ExpectStep(run, "v", 0, Start() + kVProgress);
    ExpectFile(run, "v", "same");
    ExpectStep(run, "mount", 0, "");
    ExpectStep(run, "v-mounted", 2, Start() + "Can't open Real disk.\n");
    ExpectFile(run, "v-mounted", "missing");
    ExpectStep(run, "umount", 0, "");
    ExpectStep(run, "v-unmounted", 0, Start() + kVProgress);
    ExpectFile(run, "v-unmounted", "same");
    for (const NewImageLayout& layout : kNewImageLayouts) {
        const std::string name = "m" + std::to_string(layout.mediaType);
        ExpectStep(run, name, 0, Start() + MediaTypeLine(layout.mediaType) + kMProgress);
        ExpectFile(run, name, "same");
    }
    ExpectStep(run, "r", 0, Start() + kRProgress);
    ExpectStep(run, "s", 0, Start() + kSProgress);
    ExpectFile(run, "s", "same");
    ExpectStep(run, "b", 0, Start() + kBProgress);
    EXPECT_TRUE(ReadFileBytes(dir / "floppy.img") == WithSector(game, 0, boot))
        << "the floppy holds what R and then B wrote";
}

// The floppy driver refuses write access to a write-protected disk, and every
// command asks for it, also V, which only reads.
TEST_F(RealDriverTest, WriteProtectedFloppy)
{
    const Bytes disk = DiskPattern(1440, 3);
    GuestBoot guest;
    guest.floppyReadOnly = true;
    guest.files = {{"data/game.dsk", DiskPattern(1440, 4)}, {"data/boot.bsc", SectorPattern(0, 9)}};
    guest.steps =
        "step r veldisk R /data/game.dsk A:\n"
        "step b veldisk B /data/boot.bsc A:\n"
        "step v veldisk V A: v.dsk\n"
        "compare v v.dsk /data/game.dsk\n";
    const GuestRun run = Boot(guest, disk);

    for (const char* name : {"r", "b", "v"})
        ExpectStep(run, name, 2, Start() + "Can't open Real disk.\n");
    ExpectFile(run, "v", "missing");
    EXPECT_TRUE(ReadFileBytes(dir / "floppy.img") == disk) << "the disk is unchanged";
}

// Reads go to the device one sector at a time, past the page cache, so only
// the sectors that fail are reported and stored as zeros; read through the
// cache, the good sectors in the same 4 KB page would fail with them.
TEST_F(RealDriverTest, ScsiDiskWithMediumErrors)
{
    const Bytes game = DiskPattern(1440, 6);
    Bytes expected = game;
    for (uint32_t sector : kBadSectors)
        expected = WithSector(expected, sector, Bytes(512, 0));
    GuestBoot guest;
    guest.moduleOptions["scsi_debug"] = "dev_size_mb=1 sector_size=512 opts=2 medium_error_start=" +
                                        std::to_string(kBadSectors[0]) + " medium_error_count=2";
    guest.files = {{"data/game.dsk", game}, {"expect/v.dsk", expected}};
    guest.steps =
        "wait_for /dev/sda\n"
        "export VLDK_DRIVE_B=/dev/sda\n"
        "step r veldisk R /data/game.dsk B:\n"
        "step v veldisk V B: v.dsk\n"
        "compare v v.dsk /expect/v.dsk\n";
    const GuestRun run = Boot(guest, DiskPattern(1440, 1));

    // scsi_debug fails reads only: R writes every sector.
    ExpectStep(run, "r", 0, Start() + kRProgress);
    std::string failures;
    for (uint32_t sector : kBadSectors)
        failures += "Can't read Real disk sector " + std::to_string(sector) + "\n";
    ExpectStep(run, "v", 2, Start() + kVProgress + failures);
    ExpectFile(run, "v", "same");
}

}  // namespace
