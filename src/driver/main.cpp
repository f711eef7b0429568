// veldisk: moves 720 KB MSX floppy disks between a real drive and virtual
// disk files, and makes new empty virtual disk files.
#include "banner.h"
#include "device_choice.h"
#include "dispatch.h"
#include "leading_count.h"
#include "options.h"
#include "settings.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    PrintBanner();
    if (argc < 2)
        PrintUsageAndExit();
    g_sectorDevice = CreateSectorDevice();
    if (g_sectorDevice == nullptr) {
        std::fprintf(stderr, "No enough memory.\n");
        return kExitFailure;
    }
    SetDefaultSettings();
    // VLDK first, so that the command line has the last word.
    bool namesFit = true;
    if (const char* text = std::getenv("VLDK"))
        namesFit = ParseEnvironmentOptions(text);
    const int leadingCount = FindLeadingCount(argc, argv);
    if (leadingCount < argc)
        namesFit = ParseCommandLineOptions(argc, argv, leadingCount) && namesFit;
    // A name cut short could name another file, so a long one stops the run.
    if (!namesFit) {
        std::fprintf(stderr, "Base boot sector file name is too long.\n");
        delete g_sectorDevice;
        return kExitFailure;
    }
    std::fprintf(stderr, "Default Base boot sector file is %s\n", g_baseBootSectorFile);
    const bool succeeded = RunCommand(argv, leadingCount);
    delete g_sectorDevice;
    return succeeded ? kExitSuccess : kExitFailure;
}
