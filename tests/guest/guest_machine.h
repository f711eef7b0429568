// A Linux guest under QEMU in which the statically linked program meets the
// kernel's own drivers: the kernel and its modules from Debian's package,
// busybox, and an initramfs made for each boot from the files and steps of
// that boot. The guest reports on its console; see init in this folder.
#pragma once

#include "../test_files.h"

#include <map>
#include <string>
#include <vector>

struct GuestBoot {
    std::string floppy;  // image file behind the guest's floppy drive (A:, /dev/fd0)
    bool floppyReadOnly = false;
    std::string steps;   // shell lines that the guest's init runs in /w
    std::map<std::string, Bytes> files;                // more files of the initramfs, by path
    std::map<std::string, std::string> moduleOptions;  // insmod options, by module
};

struct GuestStep {
    int status = -1;
    std::string err;  // every line that the step wrote to stderr
};

struct GuestRun {
    bool finished = false;  // every step ran and the guest powered off in time
    double seconds = 0;     // from starting QEMU to its end
    std::string console;    // the guest's console, "\r" taken out
    std::map<std::string, GuestStep> steps;
    std::map<std::string, std::string> files;  // compare's verdict, by name
    std::vector<std::string> failures;         // what the guest's init could not do
};

// Why no guest can boot here, or empty when one can. Fetches the kernel
// package on the first call.
std::string GuestUnavailable();
// The kernel package that the guest boots, as "name version".
std::string GuestKernelPackage();
// Boots a guest with the program, busybox and the boot's files, runs its
// steps and waits for it to power off.
GuestRun BootGuest(const GuestBoot& boot);
