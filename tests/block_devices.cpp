#include "block_devices.h"

#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Output(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[256];
        while (fgets(chunk, sizeof chunk, pipe) != nullptr)
            text += chunk;
        if (pclose(pipe) != 0)
            return "";
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace

LoopDevice::LoopDevice(const std::string& image, bool readOnly)
    : path_(Output(std::string("losetup -f --show ") + (readOnly ? "-r " : "") + "'" + image + "' 2>/dev/null"))
{
}

LoopDevice::~LoopDevice()
{
    if (attached())
        Output("losetup -d '" + path_ + "' 2>/dev/null");
}

namespace {

std::string ProbeLoopDevices()
{
    if (geteuid() != 0)
        return "loop devices need root";
    const std::string image = (std::filesystem::temp_directory_path() / "veldisk-loop-probe.img").string();
    if (FILE* file = std::fopen(image.c_str(), "wb")) {
        std::fseek(file, 512 * 16 - 1, SEEK_SET);
        std::fputc(0, file);
        std::fclose(file);
    }
    bool attached;
    {
        LoopDevice probe(image);
        attached = probe.attached();
    }
    std::filesystem::remove(image);
    return attached ? "" : "losetup cannot attach a loop device on this machine";
}

}  // namespace

// Probed once: the answer does not change while the tests run.
std::string LoopDevicesUnavailable()
{
    static const std::string why = ProbeLoopDevices();
    return why;
}

ReadOnlyFile::ReadOnlyFile(const std::string& folder, const std::string& name)
{
    if (geteuid() != 0) {
        path_ = folder + "/" + name;
        readOnly_ = chmod(path_.c_str(), 0444) == 0;
        return;
    }
    mountPoint_ = folder + "/read-only";
    std::filesystem::create_directory(mountPoint_);
    if (mount(folder.c_str(), mountPoint_.c_str(), nullptr, MS_BIND, nullptr) != 0)
        return;
    readOnly_ = mount(nullptr, mountPoint_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    path_ = mountPoint_ + "/" + name;
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (!mountPoint_.empty())
        umount2(mountPoint_.c_str(), MNT_DETACH);
}
