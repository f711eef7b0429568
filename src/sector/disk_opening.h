// What every disk command does first: name the drive, open it, allocate the
// sector buffer.
#pragma once

#include "sector_device.h"

constexpr size_t kSectorBufferSize = 4096;

// The drive index of a drive parameter: its first character, when that is an
// ASCII letter, counted from A = 0 in either case; 0 for anything else.
BYTE DriveIndexFromParameter(const char* driveParameter);

// Opens the drive into g_diskHandle for reading and writing and allocates the
// zero-filled sector buffer, which the caller frees. On failure prints the
// message, releases what it took and returns null.
BYTE* OpenDiskForCommand(BYTE drive);

// The release of a command that stops before its work is done: the sector
// buffer, then the disk.
void FreeBufferAndCloseDisk(BYTE* buffer);
