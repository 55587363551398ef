// A ListingOutput that drops what it is given, for the benchmarks: each text still reaches
// benchmark::DoNotOptimize, so building it is not optimised away from what they measure.
#pragma once

#include <benchmark/benchmark.h>
#include <string>

#include "protocol/listing_output.h"

class NullListing : public ListingOutput {
public:
    void WriteConsole(const std::string& line) override { benchmark::DoNotOptimize(line.data()); }
    void SetTotalCaption(const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
};
