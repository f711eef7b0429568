// The options "/M" (media type of new images) and "/B" (base boot sector
// file), from the environment variable VLDK and from the command line.
#pragma once

// Each returns false when a "/B" value does not fit in g_baseBootSectorFile;
// such a value leaves the name as it was.
bool ParseEnvironmentOptions(const char* text);
bool ParseCommandLineOptions(int argc, const char* const argv[], int first);
