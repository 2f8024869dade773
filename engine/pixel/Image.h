#pragma once
// The two pixel value types of the engines.
//
// Image: RGBA, 8 bits per channel (CV_8UC4), alpha premultiplied, sRGB, rows top
//        first. It lies in an unbounded transparent plane: `origin` is where its
//        top-left pixel sits in image space (x right, y down). Everything outside
//        the extent is transparent black.
// Matte: one grey channel, 8 bits (CV_8UC1), white = subject. Same `origin`
//        rule; outside the extent a matte is black.
//
// Both are values: copying shares the pixel buffer (cv::Mat reference counting),
// and no operation of the engine writes into an input's pixels. Code that wants
// to change pixels in place first takes `clone()`.

#include <QImage>
#include <opencv2/core.hpp>

namespace zephrin {

struct Image {
    static constexpr int kPixelType = CV_8UC4;

    cv::Mat pixels;         // CV_8UC4, premultiplied RGBA
    cv::Point origin{0, 0}; // image-space position of pixels(0, 0)

    Image() = default;
    explicit Image(cv::Mat rgbaPremultiplied, cv::Point at = {0, 0});

    // A transparent image of the given size.
    static Image transparent(cv::Size size, cv::Point at = {0, 0});

    int width() const { return pixels.cols; }
    int height() const { return pixels.rows; }
    cv::Size size() const { return pixels.size(); }
    bool empty() const { return pixels.empty(); }
    cv::Rect extent() const { return {origin, pixels.size()}; }
    Image clone() const;  // a buffer of its own, from the pixel buffer pool
};

struct Matte {
    static constexpr int kPixelType = CV_8UC1;

    cv::Mat pixels;         // CV_8UC1, 255 = subject
    cv::Point origin{0, 0};

    Matte() = default;
    explicit Matte(cv::Mat grey, cv::Point at = {0, 0});

    // A matte of one constant value.
    static Matte filled(cv::Size size, uchar value, cv::Point at = {0, 0});

    int width() const { return pixels.cols; }
    int height() const { return pixels.rows; }
    cv::Size size() const { return pixels.size(); }
    bool empty() const { return pixels.empty(); }
    cv::Rect extent() const { return {origin, pixels.size()}; }
    Matte clone() const;
};

// Zero-copy views. The QImage keeps the pixel buffer alive by itself, so it may
// outlive the Image it came from. Writing to it (painting, bits()) copies the
// pixels first and never changes the Image.
QImage toQImage(const Image& image);  // Format_RGBA8888_Premultiplied
QImage toQImage(const Matte& matte);  // Format_Grayscale8

// Copies a QImage of any format into an Image (converted to premultiplied
// RGBA8888, sRGB assumed) at origin (0, 0).
Image imageFromQImage(const QImage& image);
// Copies the grey level of a QImage (converted to Grayscale8) into a Matte.
Matte matteFromQImage(const QImage& image);

} // namespace zephrin
