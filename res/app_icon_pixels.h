// The application icon (resource 128) as pixels, drawn rather than shipped so that it scales and
// needs no file: the Qt views, the installed icons and the Windows build's .ico all come from it.
#pragma once

#include <cstdint>
#include <vector>

// `size` x `size` pixels, row by row from the top, each 0xAARRGGBB; fully transparent or opaque.
std::vector<std::uint32_t> AppIconPixels(int size);
