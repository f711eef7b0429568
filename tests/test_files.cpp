#include "test_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "veldisk-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

Bytes ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

Bytes SectorPattern(uint32_t sector, uint32_t seed)
{
    Bytes bytes(512);
    uint32_t state = sector * 2654435761u + seed * 40503u + 1;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<unsigned char>(state >> 24);
    }
    return bytes;
}

Bytes DiskPattern(uint32_t sectors, uint32_t seed)
{
    Bytes disk;
    for (uint32_t sector = 0; sector < sectors; ++sector) {
        Bytes one = SectorPattern(sector, seed);
        disk.insert(disk.end(), one.begin(), one.end());
    }
    return disk;
}

Bytes SectorOf(const Bytes& image, uint32_t sector)
{
    if ((sector + 1) * 512 > image.size())
        return {};
    return Bytes(image.begin() + sector * 512, image.begin() + (sector + 1) * 512);
}

int OpenDescriptorCount()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}
