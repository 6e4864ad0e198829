#include "tools/artwork/Artwork.h"

namespace artwork {

void DrawHead(Canvas& canvas) {
    // Traced clockwise from the bottom-left corner: shoulder, nape, skull,
    // forehead, nose, lips, chin, throat and chest.
    Outline bust({0, 600});
    bust.LineTo({0, 560})
        .CurveTo({45, 548}, {88, 530}, {100, 500})
        .CurveTo({108, 470}, {112, 440}, {118, 412})
        .CurveTo({80, 390}, {45, 340}, {45, 280})
        .CurveTo({45, 160}, {110, 80}, {190, 76})
        .CurveTo({250, 74}, {288, 110}, {298, 155})
        .CurveTo({304, 180}, {305, 202}, {303, 216})
        .CurveTo({301, 226}, {295, 232}, {295, 240})
        .CurveTo({303, 262}, {330, 285}, {336, 300})
        .CurveTo({338, 308}, {329, 314}, {319, 312})
        .CurveTo({311, 316}, {319, 328}, {321, 335})
        .CurveTo({319, 340}, {313, 342}, {309, 343})
        .CurveTo({317, 346}, {319, 356}, {311, 362})
        .CurveTo({304, 366}, {299, 368}, {299, 372})
        .CurveTo({301, 380}, {313, 388}, {307, 402})
        .CurveTo({303, 412}, {293, 416}, {281, 416})
        .CurveTo({262, 418}, {246, 424}, {236, 432})
        .CurveTo({230, 460}, {226, 490}, {222, 520})
        .CurveTo({240, 560}, {290, 580}, {320, 600});
    canvas.Fill(bust);
}

}  // namespace artwork
