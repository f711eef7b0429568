// Loop devices and read-only places for tests of real block devices and of
// write-protected disks.
#pragma once

#include <string>

// A loop device over an image file, detached again at the end.
class LoopDevice {
public:
    LoopDevice(const std::string& image, bool readOnly = false);
    ~LoopDevice();
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;
    bool attached() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A file that the program cannot open for writing: made read-only by its
// mode, or, for root, whom modes do not stop, seen through a read-only bind
// mount of its folder.
class ReadOnlyFile {
public:
    // Makes folder/name read-only; path() is where to reach it from then on.
    ReadOnlyFile(const std::string& folder, const std::string& name);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    const std::string& path() const { return path_; }
    bool readOnly() const { return readOnly_; }

private:
    std::string mountPoint_;
    std::string path_;
    bool readOnly_ = false;
};

// Why a test of loop devices cannot run here, or empty when it can.
std::string LoopDevicesUnavailable();
