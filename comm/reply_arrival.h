// How far the reply that the framer is still collecting has come: when its first byte arrived
// and when it last grew. The step that waits for the reply (protocol/exchange_step.h) bounds it
// by both, so that a slow line is not cut off and a trickle still ends.
#pragma once

#include <chrono>

struct ReplyArrival {
    std::chrono::steady_clock::time_point firstByte;
    std::chrono::steady_clock::time_point lastByte;
};
