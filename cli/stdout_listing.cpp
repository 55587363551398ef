#include "cli/stdout_listing.h"

#include <cstdio>

#include "base/console_text.h"
#include "base/printable_text.h"

void StdoutListing::WriteConsole(const std::string& line)
{
    WriteText(stdout, PrintableLine(line));
}

void StdoutListing::SetTotalCaption(const std::string& text)
{
    WriteText(stdout, PrintableText(text) + "\n");
}
