// What a simulated terminal received, as the frame texts tests compare.
#pragma once

#include <string>
#include <vector>

#include "sim/terminal_simulator.h"

// Frame texts without delimiters, in order (ZEFA-101 frames keep their '#').
inline std::vector<std::string> FrameTexts(const CTerminalSimulator& sim)
{
    std::vector<std::string> texts;
    for (const ReceivedFrame& frame : sim.Received()) texts.push_back(frame.frame);
    return texts;
}
