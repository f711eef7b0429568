#include "program_runner.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string Environment(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

std::string DosDevices()
{
    return Environment("WINEPREFIX", (Environment("HOME", "/root") + "/.wine").c_str()) + "/dosdevices/";
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    }
    return lines;
}

}  // namespace

ProgramRunner::ProgramRunner()
    : program_(Environment("VLDK_TEST_PROGRAM", VELDISK_PROGRAM)),
      wine_(Environment("VLDK_TEST_WINE", "")),
      family_(Environment("VLDK_TEST_FAMILY", "nt") == "95" ? Family::Windows95 : Family::Nt)
{
}

ProgramRunner::~ProgramRunner()
{
    for (const auto& link : links_) {
        std::error_code error;
        std::filesystem::remove(link, error);
    }
}

void ProgramRunner::BackDrive(char letter, const std::string& image)
{
    const std::string absolute = std::filesystem::absolute(image).string();
    if (!underWine()) {
        drives_[std::string("VLDK_DRIVE_") + letter] = absolute;
        return;
    }
    const std::string lower(1, static_cast<char>(std::tolower(letter)));
    const std::string folder = DosDevices() + lower + ":";
    const std::string device = folder + ":";
    std::error_code error;
    std::filesystem::remove(folder, error);
    std::filesystem::remove(device, error);
    std::filesystem::create_directory_symlink(std::filesystem::path(absolute).parent_path(), folder);
    std::filesystem::create_symlink(absolute, device);
    links_.push_back(folder);
    links_.push_back(device);
}

RunResult ProgramRunner::Run(const std::string& cwd, const std::vector<std::string>& args,
                             const std::map<std::string, std::string>& environment) const
{
    const std::string outPath = cwd + "/.stdout";
    const std::string errPath = cwd + "/.stderr";
    std::vector<std::string> words;
    if (underWine())
        words.push_back(wine_);
    words.push_back(program_);
    words.insert(words.end(), args.begin(), args.end());

    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        std::vector<std::string> unset;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const std::string entry = *variable;
            if (entry.rfind("VLDK", 0) == 0 && entry.rfind("VLDK_TEST_", 0) != 0)
                unset.push_back(entry.substr(0, entry.find('=')));
        }
        for (const auto& name : unset)
            unsetenv(name.c_str());
        for (const auto& [name, value] : drives_)
            setenv(name.c_str(), value.c_str(), 1);
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        if (underWine())
            setenv("WINEDEBUG", "-all", 1);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || chdir(cwd.c_str()) != 0)
            _exit(127);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        std::vector<char*> argv;
        for (auto& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    RunResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadAll(outPath);
    result.err = ReadAll(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return result;
}
