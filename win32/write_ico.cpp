// Build tool, run on the build machine: writes the application icon (res/app_icon_pixels.h) as a
// Windows .ico of 16, 32 and 48 pixels for the resource compiler.
//
//   write_ico FILE
#include <cstdint>
#include <cstdio>
#include <vector>

#include "res/app_icon_pixels.h"

namespace {

constexpr int SIZES[] = {16, 32, 48};

void Put16(std::vector<unsigned char>& out, unsigned value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>(value >> 8 & 0xFF));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One image: a BITMAPINFOHEADER of twice its height (colour, then mask), BGRA rows bottom up,
// and the AND mask, one bit a pixel in rows of whole 32-bit words.
std::vector<unsigned char> IconImage(int size)
{
    const std::vector<std::uint32_t> pixels = AppIconPixels(size);
    std::vector<unsigned char> out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));
    Put16(out, 1);                              // planes
    Put16(out, 32);                             // bits per pixel
    for (int i = 0; i < 6; ++i) Put32(out, 0);  // no compression, sizes and palette left to the reader
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) Put32(out, pixels[static_cast<std::size_t>(y) * size + x]);
    }
    const int maskRow = (size + 31) / 32 * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<unsigned char> row(static_cast<std::size_t>(maskRow), 0);
        for (int x = 0; x < size; ++x) {
            if ((pixels[static_cast<std::size_t>(y) * size + x] >> 24) == 0) row[x / 8] |= 0x80 >> (x % 8);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_ico FILE\n");
        return 2;
    }
    std::vector<std::vector<unsigned char>> images;
    for (int size : SIZES) images.push_back(IconImage(size));
    std::vector<unsigned char> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // an icon
    Put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<unsigned char>(SIZES[i]));
        out.push_back(static_cast<unsigned char>(SIZES[i]));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const std::vector<unsigned char>& image : images) out.insert(out.end(), image.begin(), image.end());
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr || std::fwrite(out.data(), 1, out.size(), file) != out.size() || std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
