// The VWIN32 device's calls, seen through the layer's stand-in for the
// VWIN32 system device, and main's choice of it.
#include "../src/driver/device_choice.h"
#include "../src/sector/volume_sector_device.h"
#include "../src/sector/vwin32_sector_device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Call {
    DWORD code;
    DIOC_REGISTERS in;  // as the device set them before the call
    const void* inBuffer;
    DWORD inSize;
    const void* outBuffer;
    DWORD outSize;
    bool count;
    bool overlapped;
};

// Answers each call in turn with a result, a last-error value and the
// flags it stores; once the answers run out, every call succeeds.
struct Answer {
    BOOL result;
    DWORD error;
    uint32_t flags;
};

class RecordingVwin32 : public Vwin32StandIn {
public:
    HANDLE Create(DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security, DWORD creation, DWORD flags,
                  HANDLE templateFile) override
    {
        created = {access, shareMode, creation, flags};
        createdWithPointers = security != nullptr || templateFile != nullptr;
        if (failCreate) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        return handle();
    }

    BOOL Control(HANDLE used, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned,
                 LPOVERLAPPED overlapped) override
    {
        EXPECT_EQ(used, handle());
        Call call{code, {}, in, inSize, out, outSize, returned != nullptr, overlapped != nullptr};
        std::memcpy(&call.in, in, sizeof call.in);
        calls.push_back(call);
        const Answer answer = answers.empty() ? Answer{TRUE, 0, 0} : answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        static_cast<DIOC_REGISTERS*>(out)->reg_Flags = answer.flags;
        SetLastError(answer.error);
        return answer.result;
    }

    BOOL Close(HANDLE closed) override
    {
        ++closes;
        EXPECT_EQ(closed, handle());
        return TRUE;
    }

    static HANDLE handle() { return reinterpret_cast<HANDLE>(0x3200); }

    std::vector<DWORD> created;
    bool createdWithPointers = false;
    bool failCreate = false;
    std::vector<Call> calls;
    std::vector<Answer> answers;
    int closes = 0;
};

class Vwin32DeviceTest : public ::testing::Test {
protected:
    void SetUp() override { InstallVwin32StandIn(&standIn); }
    void TearDown() override { InstallVwin32StandIn(nullptr); }

    // The three calls of one transfer, checked against the registers of
    // the lock, the transfer and the unlock.
    void ExpectTransfer(DWORD code, int drive, DWORD sector, const BYTE* buffer)
    {
        ASSERT_EQ(standIn.calls.size(), 3u);
        const Call& lock = standIn.calls[0];
        const Call& transfer = standIn.calls[1];
        const Call& unlock = standIn.calls[2];
        for (const Call& call : standIn.calls) {
            EXPECT_EQ(call.inSize, 28u);
            EXPECT_EQ(call.outSize, 28u);
            EXPECT_EQ(call.inBuffer, call.outBuffer) << "one block serves as input and output";
            EXPECT_EQ(call.inBuffer, lock.inBuffer) << "all three calls share the block";
            EXPECT_TRUE(call.count);
            EXPECT_FALSE(call.overlapped);
            EXPECT_EQ(call.in.reg_Flags, 1u) << "the carry is set before each call";
        }
        for (const Call* call : {&lock, &unlock}) {
            EXPECT_EQ(call->code, VWIN32_DIOC_DOS_IOCTL);
            EXPECT_EQ(call->in.reg_EAX, 0x440Du);
            EXPECT_EQ(call->in.reg_EBX & 0xFF, static_cast<uint32_t>(drive + 1)) << "BL numbers drives from 1";
            EXPECT_EQ(call->in.reg_EBX >> 8, 1u) << "BH is lock level 1";
            EXPECT_EQ(call->in.reg_EDX, 2u);
        }
        EXPECT_EQ(lock.in.reg_ECX, 0x084Au);
        EXPECT_EQ(unlock.in.reg_ECX, 0x086Au);
        EXPECT_EQ(transfer.code, code);
        EXPECT_EQ(transfer.in.reg_EAX, static_cast<uint32_t>(drive));
        EXPECT_EQ(transfer.in.reg_EBX, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(buffer)));
        EXPECT_EQ(transfer.in.reg_ECX, 1u);
        EXPECT_EQ(transfer.in.reg_EDX, sector);
    }

    RecordingVwin32 standIn;
    Vwin32SectorDevice device;
    BYTE buffer[512] = {};
};

TEST_F(Vwin32DeviceTest, OpenOpensTheVwin32DeviceForAnyDriveAndAccess)
{
    for (int drive : {0, 1, 25, 200}) {
        for (DWORD access : {GENERIC_READ | GENERIC_WRITE, DWORD{0}}) {
            SetLastError(55);
            EXPECT_EQ(device.Open(drive, access), RecordingVwin32::handle());
            EXPECT_EQ(GetLastError(), 0u);
            EXPECT_EQ(standIn.created, (std::vector<DWORD>{0, 0, 0, FILE_FLAG_DELETE_ON_CLOSE}));
            EXPECT_FALSE(standIn.createdWithPointers);
        }
    }
    EXPECT_TRUE(standIn.calls.empty()) << "Open touches no drive";
}

TEST_F(Vwin32DeviceTest, AFailedOpenGivesNullWithTheError)
{
    standIn.failCreate = true;
    EXPECT_EQ(device.Open(0, GENERIC_READ | GENERIC_WRITE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Vwin32DeviceTest, CloseClosesOnlyARealHandle)
{
    device.Close(nullptr);
    EXPECT_EQ(standIn.closes, 0);
    device.Open(0, 0);
    device.Close(RecordingVwin32::handle());
    EXPECT_EQ(standIn.closes, 1);
}

TEST_F(Vwin32DeviceTest, ReadSectorLocksReadsWithInt25AndUnlocks)
{
    HANDLE handle = device.Open(0, 0);
    EXPECT_TRUE(device.ReadSector(handle, 0, 5, buffer));
    ExpectTransfer(VWIN32_DIOC_DOS_INT25, 0, 5, buffer);
}

TEST_F(Vwin32DeviceTest, WriteSectorLocksWritesWithInt26AndUnlocks)
{
    HANDLE handle = device.Open(0, 0);
    EXPECT_TRUE(device.WriteSector(handle, 1, 1439, buffer));
    ExpectTransfer(VWIN32_DIOC_DOS_INT26, 1, 1439, buffer);
}

// How the transfer's answer decides the outcome; the lock's answer never
// does, and the unlock follows every transfer.
TEST_F(Vwin32DeviceTest, OutcomeOfATransfer)
{
    const struct {
        const char* name;
        std::vector<Answer> answers;  // lock, transfer
        BOOL result;
    } cases[] = {
        {"carry clear", {{TRUE, 0, 0}, {TRUE, 0, 0}}, TRUE},
        {"carry set on return", {{TRUE, 0, 0}, {TRUE, 0, 1}}, FALSE},
        {"call failed with an error", {{TRUE, 0, 0}, {FALSE, ERROR_NOT_READY, 0}}, FALSE},
        {"call failed with last-error 0", {{TRUE, 0, 0}, {FALSE, 0, 1}}, TRUE},
        {"lock failed", {{FALSE, ERROR_ACCESS_DENIED, 1}, {TRUE, 0, 0}}, TRUE},
        {"lock came back with carry", {{TRUE, 0, 1}, {TRUE, 0, 1}}, FALSE},
    };
    HANDLE handle = device.Open(0, 0);
    for (const auto& c : cases) {
        for (bool read : {true, false}) {
            standIn.calls.clear();
            standIn.answers = c.answers;
            const BOOL result = read ? device.ReadSector(handle, 2, 9, buffer) : device.WriteSector(handle, 2, 9, buffer);
            EXPECT_EQ(result, c.result) << c.name << (read ? " read" : " write");
            ExpectTransfer(read ? VWIN32_DIOC_DOS_INT25 : VWIN32_DIOC_DOS_INT26, 2, 9, buffer);
        }
    }
}

class DeviceChoiceTest : public ::testing::Test {
protected:
    void TearDown() override { SetReportedPlatform(VER_PLATFORM_WIN32_NT); }
};

TEST_F(DeviceChoiceTest, TheWindows95FamilyGetsTheVwin32Device)
{
    SetReportedPlatform(VER_PLATFORM_WIN32_WINDOWS);
    std::unique_ptr<SectorDevice> device(CreateSectorDevice());
    EXPECT_NE(dynamic_cast<Vwin32SectorDevice*>(device.get()), nullptr);
}

TEST_F(DeviceChoiceTest, EveryOtherPlatformGetsTheVolumeDevice)
{
    for (DWORD platform : {VER_PLATFORM_WIN32_NT, DWORD{0}, DWORD{3}}) {
        SetReportedPlatform(platform);
        std::unique_ptr<SectorDevice> device(CreateSectorDevice());
        EXPECT_NE(dynamic_cast<VolumeSectorDevice*>(device.get()), nullptr) << platform;
    }
}

}  // namespace
