// The progress line that each command prints before its work.
#pragma once

constexpr char kVProgress[] = "Copying Virturl disk file from real disk...\n";
constexpr char kRProgress[] = "Copying Real disk from virtual disk file...\n";
constexpr char kBProgress[] = "Copying real disk's Boot sector from virtual disk file's Boot sector...\n";
constexpr char kSProgress[] = "Save real disk's boot sector to virturl disk file.\n";
constexpr char kMProgress[] = "Making new virturl disk file from real disk.\n";
constexpr char kNProgress[] = "Making New virtual disk file from virturl disk file.\n";
