#include "cli/stdout_listing.h"

#include <cstdio>

#include "base/printable_text.h"

void StdoutListing::WriteConsole(const std::string& line)
{
    std::fputs(PrintableLine(line).c_str(), stdout);
    std::fflush(stdout);
}

void StdoutListing::SetTotalCaption(const std::string& text)
{
    std::printf("%s\n", PrintableText(text).c_str());
    std::fflush(stdout);
}
