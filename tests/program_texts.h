// The fixed texts that the program writes before its work: the banner, the
// usage text and the lines that name the settings.
#pragma once

#include <string>

extern const char kBanner[];
extern const char kUsage[];
std::string DefaultFileLine(const std::string& name);
std::string MediaTypeLine(int mediaType);
