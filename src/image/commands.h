// The six command routines. Each prints its own progress and failure lines
// and returns whether it succeeded.
#pragma once

#include "../sector/sector_device.h"

#include <cstdio>

bool CopyDiskToImage(const char* driveParameter, const char* fileName);
bool CopyImageToDisk(const char* fileName, const char* driveParameter);
bool WriteBootSectorToDisk(const char* fileName, const char* driveParameter);
bool SaveBootSectorToFile(const char* driveParameter, const char* fileName);
bool MakeImageFromDisk(const char* driveParameter, const char* newFileName, int mediaType);
bool MakeImageFromFile(const char* sourceFileName, const char* newFileName, int mediaType);

// Writes sectors 1 onward of a new image from the first 1024 bytes of the
// buffer, then closes the stream and frees the buffer, on every path.
bool WriteNewImageBody(BYTE* buffer, std::FILE* file, int mediaType);
