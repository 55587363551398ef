// The transcript of dorvane-sim --transcript: one JSON object a line, one line a received frame.
#pragma once

#include <string>

#include "sim/terminal_simulator.h"

// {"seq":1,"model":"ZEFA-102","command":"E","frame":"E","reply":"OK"}; "reply" is null when the
// terminal stayed silent. Frame bytes are taken as Latin-1, so any byte survives as JSON text.
std::string TranscriptLine(int model, const ReceivedFrame& frame);
