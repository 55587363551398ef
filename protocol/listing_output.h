// Where the holiday count and listing go: the console and the total caption (control 1020).
#pragma once

#include <string>

class ListingOutput {
public:
    virtual ~ListingOutput() = default;
    // One whole console line, its "\n" included.
    virtual void WriteConsole(const std::string& line) = 0;
    virtual void SetTotalCaption(const std::string& text) = 0;
};
