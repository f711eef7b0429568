// Where the parameters of the command line end and its options begin.
#pragma once

// The position of the first option word, or argc when there is none. The
// program name at position 0 is never an option. Where absolute paths begin
// with "/", a word whose part before its last "/" names an existing
// directory is a parameter, not an option.
int FindLeadingCount(int argc, const char* const argv[]);
