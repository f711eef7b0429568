// Another process that holds a file or block device the way a program that
// uses it would: a block device opened with O_EXCL, a file under flock or
// under a POSIX record lock.
#pragma once

#include <string>

#include <sys/types.h>

class ExclusiveHolder {
public:
    enum class FileLock { Flock, Posix };
    // Returns once the hold is taken.
    explicit ExclusiveHolder(const std::string& path, FileLock fileLock = FileLock::Flock);
    ~ExclusiveHolder();
    ExclusiveHolder(const ExclusiveHolder&) = delete;
    ExclusiveHolder& operator=(const ExclusiveHolder&) = delete;
    bool holding() const { return holding_; }

private:
    pid_t child_ = -1;
    int release_ = -1;
    bool holding_ = false;
};
