#include "engine/pixel/ColorBlendMode.h"

#include "engine/pixel/detail/Compositing.h"
#include "engine/pixel/detail/Div255.h"

#include <algorithm>

namespace zephrin {

namespace {

float lum(const cv::Vec3f& c) { return 0.3f * c[0] + 0.59f * c[1] + 0.11f * c[2]; }

// Brings a colour whose luminosity is in range back into the gamut, keeping
// that luminosity and the hue.
cv::Vec3f clipColor(cv::Vec3f c)
{
    const float l = lum(c);
    const float n = std::min({c[0], c[1], c[2]});
    const float x = std::max({c[0], c[1], c[2]});
    if (n < 0.f && l - n > 1e-6f)
        c = cv::Vec3f::all(l) + (c - cv::Vec3f::all(l)) * (l / (l - n));
    if (x > 1.f && x - l > 1e-6f)
        c = cv::Vec3f::all(l) + (c - cv::Vec3f::all(l)) * ((1.f - l) / (x - l));
    return c;
}

cv::Vec3f setLum(const cv::Vec3f& c, float l) { return clipColor(c + cv::Vec3f::all(l - lum(c))); }

void blendPixel(const uchar* front, const uchar* back, uchar* out)
{
    const int as = front[3];
    const int ab = back[3];
    if (as == 0 || ab == 0) {
        // Plain source-over: one of the two is not there.
        for (int c = 0; c < 4; ++c)
            out[c] = cv::saturate_cast<uchar>(front[c] + detail::div255(back[c] * (255 - as)));
        return;
    }
    const cv::Vec3f cs(front[0] / float(as), front[1] / float(as), front[2] / float(as));
    const cv::Vec3f cb(back[0] / float(ab), back[1] / float(ab), back[2] / float(ab));
    const cv::Vec3f blended = setLum(cs, lum(cb));
    const float fs = as / 255.f;
    const float fb = ab / 255.f;
    out[3] = uchar(as + ab - detail::div255(as * ab));
    for (int c = 0; c < 3; ++c) {
        const float value = fs * (1.f - fb) * cs[c] + fb * (1.f - fs) * cb[c] + fs * fb * blended[c];
        out[c] = std::min(cv::saturate_cast<uchar>(value * 255.f + 0.5f), out[3]);
    }
}

} // namespace

Image colorBlendMode(const Image& foreground, const Image& background)
{
    const cv::Rect area = detail::unionExtent(foreground.extent(), background.extent());
    if (area.empty())
        return Image(cv::Mat(0, 0, CV_8UC4), area.tl());
    return Image(detail::compositeOver(
                     area, CV_8UC4,
                     [](uchar* out, const uchar* front, const uchar* back, int pixels) {
                         for (int x = 0; x < pixels; ++x)
                             blendPixel(front + 4 * x, back + 4 * x, out + 4 * x);
                     },
                     foreground, background),
                 area.tl());
}

} // namespace zephrin
