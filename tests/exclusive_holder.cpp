#include "exclusive_holder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

ExclusiveHolder::ExclusiveHolder(const std::string& path, FileLock fileLock)
{
    int ready[2];
    int release[2];
    if (pipe(ready) != 0 || pipe(release) != 0)
        return;
    child_ = fork();
    if (child_ == 0) {
        close(ready[0]);
        close(release[1]);
        struct stat status;
        bool held = false;
        int fd = -1;
        if (stat(path.c_str(), &status) == 0 && S_ISBLK(status.st_mode)) {
            fd = open(path.c_str(), O_RDONLY | O_EXCL);
            held = fd >= 0;
        } else if (fileLock == FileLock::Flock) {
            fd = open(path.c_str(), O_RDONLY);
            held = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
        } else {
            fd = open(path.c_str(), O_RDWR);
            struct flock lock = {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            held = fd >= 0 && fcntl(fd, F_SETLK, &lock) == 0;
        }
        const char answer = held ? 'y' : 'n';
        (void)!write(ready[1], &answer, 1);
        char ignored;
        (void)!read(release[0], &ignored, 1);  // until the parent closes its end
        _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    release_ = release[1];
    char answer = 'n';
    holding_ = read(ready[0], &answer, 1) == 1 && answer == 'y';
    close(ready[0]);
}

ExclusiveHolder::~ExclusiveHolder()
{
    if (release_ >= 0)
        close(release_);
    if (child_ > 0)
        waitpid(child_, nullptr, 0);
}
