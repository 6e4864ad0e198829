#include "tools/artwork/Artwork.h"

namespace artwork {

namespace {

// The hand is drawn at 1.3 times the size of the coordinates below, grown
// from the picture's lower right corner.
Point H(double x, double y) {
    constexpr double kScale = 1.3;
    return {800 - kScale * (800 - x), 600 - kScale * (600 - y)};
}

// A finger laid over what is already there, set off from it by a thin black
// rim so that the fingers stay apart.
void Finger(Canvas& canvas, Point start, Point c1, Point c2, Point end, double startWidth,
            double endWidth) {
    constexpr double kRim = 5;
    canvas.Cut(Stroke(start, c1, c2, end, startWidth + kRim, endWidth + kRim));
    canvas.Fill(Stroke(start, c1, c2, end, startWidth, endWidth));
}

}  // namespace

void DrawHand(Canvas& canvas) {
    // Seen from the thumb's side, palm up and a little cupped, fingers
    // pointing left towards the middle of the picture, thumb raised; the
    // forearm leaves at the lower right corner. The far fingers come first,
    // each nearer one laid over them, and the palm with the thumb last.
    Finger(canvas, H(665, 552), H(620, 548), H(588, 538), H(570, 522), 30, 23);
    Finger(canvas, H(665, 556), H(612, 556), H(572, 548), H(549, 532), 31, 24);
    Finger(canvas, H(665, 560), H(606, 564), H(560, 558), H(532, 543), 32, 25);
    Finger(canvas, H(665, 565), H(610, 572), H(566, 568), H(541, 556), 32, 25);

    Outline palm(H(800, 538));
    palm.CurveTo(H(785, 534), H(765, 530), H(748, 528))
        .CurveTo(H(725, 520), H(703, 500), H(688, 478))
        .CurveTo(H(680, 466), H(664, 462), H(662, 475))
        .CurveTo(H(662, 490), H(676, 512), H(684, 530))
        .CurveTo(H(686, 541), H(670, 549), H(650, 550))
        .CurveTo(H(636, 554), H(632, 568), H(642, 575))
        .CurveTo(H(662, 582), H(692, 583), H(745, 587))
        .CurveTo(H(765, 590), H(785, 595), H(800, 600));
    canvas.Fill(palm);
}

}  // namespace artwork
