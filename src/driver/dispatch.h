#pragma once

// Runs the command that the first letter of argv[1] names, with the
// parameters before the leading count, and returns whether it succeeded.
// Prints the usage text and ends the process when no command fits.
bool RunCommand(const char* const argv[], int leadingCount);
