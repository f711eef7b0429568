#include "requirements.h"

#include <gtest/gtest.h>

#include <cstdlib>

void RequireAvailable(const std::string& why)
{
    if (why.empty())
        return;
    if (std::getenv("CI") != nullptr)
        FAIL() << why;
    GTEST_SKIP() << why;
}
