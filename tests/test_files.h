// Files and folders for tests: a temporary folder that removes itself, whole
// files read and written as bytes, and sector contents that tell sectors apart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
bool FileExists(const std::string& path);

// 512 bytes that differ from those of every other sector number and seed.
Bytes SectorPattern(uint32_t sector, uint32_t seed = 0);
// A disk of that many sectors, each filled with SectorPattern.
Bytes DiskPattern(uint32_t sectors, uint32_t seed = 0);
Bytes SectorOf(const Bytes& image, uint32_t sector);

// Open file descriptors of this process, to show that no file stays open.
int OpenDescriptorCount();
