// wobblet-artwork OUT.png: draws wobblet's background picture.
#include <cstdio>
#include <string>

#include "tools/artwork/Artwork.h"
#include "tools/artwork/GreyAlphaPng.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    artwork::Canvas canvas(artwork::kWidth, artwork::kHeight);
    artwork::DrawHead(canvas);
    artwork::DrawHand(canvas);
    // 2834 pixels per metre: 72 dots per inch.
    std::string error;
    if (!artwork::WriteGreyAlphaPng(argv[1], canvas.Width(), canvas.Height(), canvas.Grey(), 2834,
                                    &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
        return 1;
    }
    return 0;
}
