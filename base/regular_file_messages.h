// What ReadRegularFile says of a file it refuses, the same on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/operator_message.h"

// "일반 파일이 아닙니다 (FIFO)" / "not a regular file (a FIFO)", for the kind named.
OperatorMessage NotRegularFile(const OperatorMessage& kind);

// "파일이 너무 큽니다: 52,428,800바이트, 1,048,576바이트까지" / "too large: 52,428,800 bytes, at most 1,048,576".
OperatorMessage TooLarge(std::uintmax_t size, std::size_t maxBytes);
