#pragma once
// Generated, seeded photographs for the subject finders' tests and benchmarks.

#include "engine/pixel/Image.h"

#include <cstdint>

namespace zephrin::testing {

struct Scene {
    Image image;  // opaque, premultiplied RGBA
    cv::Mat shape; // CV_8UC1: 255 where the subject was drawn, 0 elsewhere
};

// A dark object (a rounded body on a short stand) a little off centre, on a warm
// textured ground (blotches and grain) lit unevenly from the top left.
Scene darkObjectOnTexture(cv::Size size, std::uint64_t seed);

// Head and shoulders cut by the bottom edge of the frame: a light head over a
// blue body, before a wall and a floor with blotches, lit from the left.
Scene bustCutByTheFrame(cv::Size size, std::uint64_t seed);

// A saturated object on an even, nearly white page that fills the frame.
Scene objectOnFlatPage(cv::Size size, std::uint64_t seed);

// The dark object of darkObjectOnTexture and, on the right, a blue disc.
struct TwoSubjects {
    Scene scene;       // shape = the dark object
    cv::Mat disc;      // CV_8UC1, 255 on the disc
    cv::Rect aroundDisc; // a selection that holds the disc and nothing of the object
};
TwoSubjects darkObjectAndBlueDisc(cv::Size size, std::uint64_t seed);

// Subjects with inner areas, where a subject finder may leave the subject
// see-through and where the hole is real:
// a coloured drawing photographed on paper: a house in thick ink, its roof,
// door and window panes coloured in with crayon, its walls left paper white,
// on an off-white sheet lit unevenly, with grain; the shape is the whole
// drawing, its white walls included.
Scene colouredDrawingOnPaper(cv::Size size, std::uint64_t seed);
// A grey bottle with a wide white label, as white as the near-white studio
// sweep it stands on, shaded at its sides, with a soft shadow under it; the
// shape is the bottle.
Scene whiteProductOnStudioBackdrop(cv::Size size, std::uint64_t seed);
// A thick dark-blue ring on a light backdrop that shows through its hole; the
// shape is the ring alone.
Scene ringWithARealHole(cv::Size size, std::uint64_t seed);

// Line art: black ink outlines of a circle, a square and a triangle, drawn
// with soft edges on off-white paper whose texture (fibres and a fine tooth,
// both bounded) and uneven light keep it within 0.14 of its mean colour;
// inside each outline the paper shows. The shape is the ink (coverage above
// one half).
struct LineArt {
    Scene scene;
    cv::Mat insides;  // CV_8UC1: the paper within the outlines, clear of the ink
    cv::Mat ink;      // CV_8UC1: the ink's coverage, 0 to 255
};
LineArt lineArtOnPaper(cv::Size size, std::uint64_t seed);

// A grey disc of radius 120 in the middle of 600 × 450 grey paper, both
// under seeded Gaussian grain of `grain` per channel (bytes); the shape is the
// disc.
Scene greyDiscOnGrainyPaper(int paper, int disc, double grain);

// Intersection over union of a matte (values above 127 count) and a shape.
double intersectionOverUnion(const cv::Mat& matte, const cv::Mat& shape);

} // namespace zephrin::testing
