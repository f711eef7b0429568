// Helpers for the files that the commands read and write.
#pragma once

#include <cstdio>

// Closes a file that the command wrote. Bytes still held by the stream reach
// the file only here, so a failed close is a failed write: it is reported,
// unless the command already reported a failed write. Returns whether every
// write and the close succeeded.
bool CloseWrittenFile(std::FILE* file, bool writesSucceeded);

// Whether both names reach one existing file, however each is spelled.
bool IsSameFile(const char* first, const char* second);
