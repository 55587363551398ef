// The two terminal models; the number also selects the framing (CR LF lines or STX/ETX).
#pragma once

inline constexpr int MODEL_ZEFA101 = 0;  // "#", letter, fields, CR LF
inline constexpr int MODEL_ZEFA102 = 1;  // STX, letter, fields, ETX
