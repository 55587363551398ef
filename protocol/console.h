// The traffic log: standard output, one line at a time.
#pragma once

#include <string>

// Writes the text as it is and flushes, so a line shows before the next reply arrives.
void ConsoleWrite(const std::string& text);
