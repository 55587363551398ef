// The console of the headless tool: standard output, the total caption as a line of its own.
#pragma once

#include "protocol/listing_output.h"

class StdoutListing : public ListingOutput {
public:
    void WriteConsole(const std::string& line) override;
    void SetTotalCaption(const std::string& text) override;
};
