// A ListingOutput that keeps what it was given.
#pragma once

#include <string>
#include <vector>

#include "protocol/listing_output.h"

class RecordingListing : public ListingOutput {
public:
    void WriteConsole(const std::string& line) override { lines.push_back(line); }
    void SetTotalCaption(const std::string& text) override { captions.push_back(text); }

    std::vector<std::string> lines;
    std::vector<std::string> captions;
};
