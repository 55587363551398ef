#include "cli/stdout_listing.h"

#include <cstdio>

void StdoutListing::WriteConsole(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

void StdoutListing::SetTotalCaption(const std::string& text)
{
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}
