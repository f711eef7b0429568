// For tests that need more than this project builds (loop devices, other
// programs, a virtual machine): where something is missing they are skipped
// with the reason, except in CI, whose machines provide all of it, so that
// there they fail.
#pragma once

#include <string>

// Does nothing when why is empty. In SetUp this ends the test before its
// body; elsewhere the caller checks IsSkipped() and HasFailure() after it.
void RequireAvailable(const std::string& why);
