// Runs the built program as a user would and backs drive letters with image
// files. Natively a drive is backed through VLDK_DRIVE_x; under Wine (when
// VLDK_TEST_WINE names Wine's loader) through the dosdevices of WINEPREFIX,
// where "x::" is the raw device of drive x:. VLDK_TEST_PROGRAM names the
// program to run and VLDK_TEST_FAMILY ("nt" or "95") the Windows family it
// runs as.
#pragma once

#include "../program_texts.h"

#include <map>
#include <string>
#include <vector>

struct RunResult {
    int status = -1;
    std::string err;  // lines end in "\n" whatever the platform wrote
    std::string out;
};

enum class Family { Nt, Windows95 };

class ProgramRunner {
public:
    ProgramRunner();
    ~ProgramRunner();
    ProgramRunner(const ProgramRunner&) = delete;
    ProgramRunner& operator=(const ProgramRunner&) = delete;

    // Runs the program in the folder cwd with the arguments and, on top of
    // an environment without VLDK and any drive setting, the variables given.
    RunResult Run(const std::string& cwd, const std::vector<std::string>& args,
                  const std::map<std::string, std::string>& environment = {}) const;

    // Makes drive letter (A to Z) a drive whose disk is the image file.
    void BackDrive(char letter, const std::string& image);

    bool underWine() const { return !wine_.empty(); }
    Family family() const { return family_; }

private:
    std::string program_;
    std::string wine_;
    Family family_;
    std::map<std::string, std::string> drives_;  // VLDK_DRIVE_x natively
    std::vector<std::string> links_;             // dosdevices entries under Wine
};

