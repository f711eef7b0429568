#include "guest_machine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

#include <sys/stat.h>

namespace {

const std::string kKernelFolder = VELDISK_GUEST_KERNEL_DIR;
const std::string kProgram = VELDISK_GUEST_PROGRAM;
const std::string kBusybox = "/bin/busybox";
// The floppy driver; the SCSI disk driver and scsi_debug; vfat with the code
// page and character set that its mount asks for.
const char kModules[] = "floppy sd_mod scsi_debug vfat nls_cp437 nls_ascii";
// A boot that has not powered off by then has failed: one takes 8 to 25 s.
constexpr int kBootSeconds = 120;

std::string Quoted(const std::string& word) { return "'" + word + "'"; }

bool Succeeds(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string FileText(const std::string& path)
{
    const Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// The initramfs as an uncompressed cpio archive in the "newc" format, which
// the kernel unpacks over its root before it starts /init.
class Initramfs {
public:
    void AddFile(const std::string& path, const Bytes& data, unsigned mode = 0644)
    {
        AddParents(path);
        Add(path, S_IFREG | mode, data);
    }
    void AddDirectory(const std::string& path)
    {
        AddParents(path);
        if (directories_.insert(path).second)
            Add(path, S_IFDIR | 0755, {});
    }
    void AddCharacterDevice(const std::string& path, unsigned major, unsigned minor)
    {
        AddParents(path);
        Add(path, S_IFCHR | 0600, {}, major, minor);
    }
    Bytes Finish()
    {
        Add("TRAILER!!!", 0, {});
        return archive_;
    }

private:
    void AddParents(const std::string& path)
    {
        const size_t slash = path.rfind('/');
        if (slash != std::string::npos)
            AddDirectory(path.substr(0, slash));
    }
    void Add(const std::string& name, unsigned mode, const Bytes& data, unsigned major = 0, unsigned minor = 0)
    {
        const unsigned fields[] = {++inode_, mode, 0, 0, S_ISDIR(mode) ? 2u : 1u, 0,
                                   static_cast<unsigned>(data.size()), 0, 0, major, minor,
                                   static_cast<unsigned>(name.size() + 1), 0};
        std::string header = "070701";
        for (unsigned field : fields) {
            char hex[9];
            std::snprintf(hex, sizeof hex, "%08X", field);
            header += hex;
        }
        header += name;
        header += '\0';
        archive_.insert(archive_.end(), header.begin(), header.end());
        Pad();
        archive_.insert(archive_.end(), data.begin(), data.end());
        Pad();
    }
    void Pad() { archive_.resize((archive_.size() + 3) / 4 * 4, 0); }

    Bytes archive_;
    std::set<std::string> directories_;
    unsigned inode_ = 0;
};

Bytes MakeInitramfs(const GuestBoot& boot)
{
    Initramfs initramfs;
    for (const char* folder : {"dev", "proc", "sys", "tmp"})
        initramfs.AddDirectory(folder);
    initramfs.AddCharacterDevice("dev/console", 5, 1);
    initramfs.AddFile("init", ReadFileBytes(VELDISK_SOURCE_DIR "/tests/guest/init"), 0755);
    initramfs.AddFile("bin/busybox", ReadFileBytes(kBusybox), 0755);
    initramfs.AddFile("bin/veldisk", ReadFileBytes(kProgram), 0755);
    const std::string order = FileText(kKernelFolder + "/order");
    initramfs.AddFile("modules/order", Bytes(order.begin(), order.end()));
    std::istringstream modules(order);
    for (std::string module; modules >> module;)
        initramfs.AddFile("modules/" + module + ".ko", ReadFileBytes(kKernelFolder + "/modules/" + module + ".ko"));
    for (const auto& [module, options] : boot.moduleOptions)
        initramfs.AddFile("modules/" + module + ".options", Bytes(options.begin(), options.end()));
    initramfs.AddFile("steps", Bytes(boot.steps.begin(), boot.steps.end()));
    for (const auto& [path, data] : boot.files)
        initramfs.AddFile(path, data);
    return initramfs.Finish();
}

// Reads the guest's lines for the host, which begin with "VLDK-" anywhere
// in a console line: the first one follows the terminal codes of the BIOS.
void ReadReports(GuestRun& run)
{
    std::istringstream console(run.console);
    bool ended = false;
    for (std::string line; std::getline(console, line);) {
        const size_t start = line.find("VLDK-");
        if (start == std::string::npos)
            continue;
        std::istringstream report(line.substr(start));
        std::string kind, name;
        report >> kind >> name;
        std::string rest;
        std::getline(report, rest);
        if (!rest.empty() && rest[0] == ' ')
            rest.erase(0, 1);
        if (kind == "VLDK-STATUS")
            run.steps[name].status = std::atoi(rest.c_str());
        else if (kind == "VLDK-ERR")
            run.steps[name].err += rest + "\n";
        else if (kind == "VLDK-FILE")
            run.files[name] = rest;
        else if (kind == "VLDK-FAILED")
            run.failures.push_back(name + " " + rest);
        else if (kind == "VLDK-END")
            ended = true;
    }
    run.finished = run.finished && ended;
}

}  // namespace

std::string GuestUnavailable()
{
    static const std::string why = [] () -> std::string {
        if (kProgram.empty() || !FileExists(kProgram))
            return "no statically linked veldisk (configure with -DVELDISK_GUEST_PROGRAM=PATH)";
        if (!Succeeds("command -v qemu-system-x86_64 >/dev/null"))
            return "no qemu-system-x86_64 (Debian package qemu-system-x86)";
        if (!Succeeds("dpkg-query -W -f='${Status}' busybox-static 2>/dev/null | grep -q 'ok installed'"))
            return "no statically linked busybox (Debian package busybox-static)";
        if (!Succeeds(VELDISK_SOURCE_DIR "/tests/guest/fetch-kernel " + Quoted(kKernelFolder) + " " + kModules))
            return "the kernel package could not be fetched";
        return "";
    }();
    return why;
}

std::string GuestKernelPackage()
{
    std::istringstream fields(FileText(kKernelFolder + "/package"));
    std::string package, version;
    for (std::string line; std::getline(fields, line);) {
        if (line.rfind("Package: ", 0) == 0)
            package = line.substr(9);
        else if (line.rfind("Version: ", 0) == 0)
            version = line.substr(9);
    }
    return package + " " + version;
}

GuestRun BootGuest(const GuestBoot& boot)
{
    TempDir dir;
    WriteFileBytes(dir / "initramfs.cpio", MakeInitramfs(boot));
    std::string floppy = "if=floppy,format=raw,file=" + boot.floppy;
    if (boot.floppyReadOnly)
        floppy += ",readonly=on";
    // KVM is not used: its guests hang at boot on these machines.
    const std::string command = "timeout " + std::to_string(kBootSeconds) +
        " qemu-system-x86_64 -accel tcg -m 256 -nographic -monitor none -no-reboot -nic none"
        " -serial " + Quoted("file:" + (dir / "console.txt")) +
        " -kernel " + Quoted(kKernelFolder + "/vmlinuz") +
        " -initrd " + Quoted(dir / "initramfs.cpio") +
        " -append 'console=ttyS0 quiet loglevel=1 panic=-1'" +
        " -drive " + Quoted(floppy) + " >" + Quoted(dir / "qemu.txt") + " 2>&1";
    GuestRun run;
    const auto start = std::chrono::steady_clock::now();
    run.finished = Succeeds(command);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (char c : FileText(dir / "console.txt") + FileText(dir / "qemu.txt"))
        if (c != '\r')
            run.console += c;
    ReadReports(run);
    return run;
}
