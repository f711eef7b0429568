// The texts that main prints of its own: the banner and the usage text.
#pragma once

constexpr int kExitSuccess = 0;
constexpr int kExitUsage = 1;
constexpr int kExitFailure = 2;

// "@(#)", the marker that version-listing tools look for, then the banner.
extern const char g_versionString[];

void PrintBanner();
[[noreturn]] void PrintUsageAndExit();
