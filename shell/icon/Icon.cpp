#include "shell/icon/Icon.h"

#include <cstring>

// Light falls from the upper left: each face has four shades, lightest
// along the edge nearest the light, and the top ripples from yellow into
// green as the cube's colours do.
const char* const kIconPicture[kIconSize] = {
    "................................", "................................",
    "...............dd...............", ".............dddddd.............",
    "...........ddddddaaaa...........", ".........cddddddaaaaaa..........",
    "........ddddddaaaaaabbbb........", "......cddddddaaaaaabbbbbbc......",
    "....cddddddaaaaaabbbbbbccccc....", "...fddddddaaaaaabbbbbbcccccck...",
    "...fffddaaaaaabbbbbbcccccckkk...", "...fffffaaaaabbbbbbccccckkkkk...",
    "...ggffffaabbbbbbcccccjkkkkkk...", "...ggggffffbbbbbcccccjkkkkkkl...",
    "...ggggggffffbcccccjjkkkkkkll...", "...ggggggggffffccjjjkkkkkklll...",
    "...ggggggggggfffjjjkkkkkkllll...", "...hhggggggggggfjjkkkkkklllll...",
    "...hhhhgggggggggjkkkkkkllllll...", "...hhhhhhgggggggkkkkkklllllli...",
    "...hhhhhhhhgggggkkkkkllllllii...", "...hhhhhhhhhhgggkkkklllllliii...",
    "...eehhhhhhhhhhgkkklllllliiii...", "....eeehhhhhhhhhkklllllliiii....",
    "......eeehhhhhhhklllllliii......", "........eeehhhhhllllllii........",
    ".........eeeehhhllllli..........", "...........eeeehlllli...........",
    ".............eeelll.............", "...............el...............",
    "................................", "................................",
};

// The last three entries are not used by the picture; a 16-colour icon
// carries them anyway.
const char kIconKeys[kIconColours + 1] = ".abcdefghijklmno";

const std::uint32_t kIconPalette[kIconColours] = {
    0x00000000,  // . background
    0xFFB8E038,  // a yellow-green
    0xFF58C040,  // b green
    0xFF1E8C3C,  // c dark green
    0xFFF4E048,  // d yellow, the edge in the light
    0xFF0C1E64,  // e navy, the bottom edge
    0xFF78B4FF,  // f light blue, the edge under the top
    0xFF3C78E6,  // g blue
    0xFF1E46B4,  // h deep blue
    0xFF5A0C5A,  // i dark purple, the bottom edge
    0xFFFF8CE6,  // j pink, the edge under the top
    0xFFDC3CC8,  // k magenta
    0xFFA01E96,  // l deep magenta
    0xFF000000,  // m
    0xFF808080,  // n
    0xFFFFFFFF,  // o
};

std::array<std::uint32_t, kIconSize * kIconSize> IconPixels() {
    std::array<std::uint32_t, kIconSize * kIconSize> pixels{};
    for (int y = 0; y < kIconSize; ++y) {
        const char* row = kIconPicture[y];
        const std::size_t length = std::strlen(row);
        for (int x = 0; x < kIconSize && static_cast<std::size_t>(x) < length; ++x) {
            // x < length, so row[x] is never the terminator strchr would find.
            const char* key = std::strchr(kIconKeys, row[x]);
            if (key != nullptr) {
                pixels[static_cast<std::size_t>(y) * kIconSize + x] = kIconPalette[key - kIconKeys];
            }
        }
    }
    return pixels;
}
