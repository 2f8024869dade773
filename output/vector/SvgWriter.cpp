// The SVG writer: Vectorizer::svgString and its number format.

#include "output/vector/Vectorizer.h"

#include "engine/codec/ExportedSize.h"
#include "output/vector/PathCommands.h"
#include "output/vector/SvgNumber.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace zephrin {

namespace {

// Two decimals, trimmed: 12.5, 3, 100.
void appendNumber(std::string& out, double value)
{
    appendTrimmed(out, value, 2);
}

bool isHexColour(const std::string& text)
{
    return text.size() == 7 && text[0] == '#' &&
           std::all_of(text.begin() + 1, text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
           });
}

struct ContentBox {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();
    std::size_t segments = 0;

    void include(const Pt& p)
    {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
};

// Every point of every segment, control points included.
ContentBox contentBox(const TraceResult& result)
{
    ContentBox box;
    for (const TracedLayer& layer : result.layers)
        for (const TracedContour& contour : layer.contours)
            for (const CubicSegment& s : contour.segments) {
                for (const Pt& p : {s.p0, s.p1, s.p2, s.p3})
                    box.include(p);
                ++box.segments;
            }
    return box;
}

// Where the content lands on the page: page size and the shift added to every
// traced coordinate, so that the page starts at (0, 0).
struct Page {
    double width = 0;
    double height = 0;
    double dx = 0;
    double dy = 0;
};

constexpr double kMarginShare = 0.02;       // of the longer content side, on every side
constexpr double kFileMakerSquare = 1.16;   // the square's side over the longer content side

Page pageFor(const TraceResult& result, const ContentBox& box, bool fileMaker)
{
    double minX = 0, minY = 0;
    double bw = result.width, bh = result.height;
    if (box.segments > 0 && box.minX < box.maxX && box.minY < box.maxY) {
        minX = box.minX;
        minY = box.minY;
        bw = box.maxX - box.minX;
        bh = box.maxY - box.minY;
    }
    const double longer = std::max(bw, bh);
    if (fileMaker) {
        const double side = longer * kFileMakerSquare;
        return {side, side, (side - bw) * 0.5 - minX, (side - bh) * 0.5 - minY};
    }
    const double margin = longer * kMarginShare;
    return {bw + 2 * margin, bh + 2 * margin, margin - minX, margin - minY};
}

void appendLayerPathData(std::string& out, const TracedLayer& layer, const Page& page)
{
    appendPathData(out, layer.contours, [&page](std::string& text, const Pt& p) {
        appendNumber(text, p.x + page.dx);
        text += ' ';
        appendNumber(text, p.y + page.dy);
    });
}

} // namespace

std::string Vectorizer::formatNumber(double value)
{
    std::string text;
    appendNumber(text, value);
    return text;
}

std::string Vectorizer::svgString(const TraceResult& result, const TraceOptions& options)
{
    const ContentBox box = contentBox(result);
    const Page page = pageFor(result, box, options.fileMaker);

    // Drawn at the size asked for; the outlines keep the traced units.
    const QSizeF drawn = exportedPageSize(QSizeF(page.width, page.height), options.pageLongEdge);

    std::string svg;
    svg.reserve(84 + box.segments * 48);
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
    appendNumber(svg, drawn.width());
    svg += "\" height=\"";
    appendNumber(svg, drawn.height());
    svg += "\" viewBox=\"0 0 ";
    appendNumber(svg, page.width);
    svg += ' ';
    appendNumber(svg, page.height);
    svg += "\">\n";

    std::string d;
    for (const TracedLayer& layer : result.layers) {
        d.clear();
        appendLayerPathData(d, layer, page);
        if (d.empty())
            continue;
        if (options.fileMaker) {
            svg += "  <path class=\"fm_fill\" fill-rule=\"evenodd\" d=\"";
        } else {
            // The fill is written only when it is a colour text; anything else
            // (which could break the markup) falls back to the default.
            svg += "  <path fill=\"";
            svg += isHexColour(layer.fillHex) ? layer.fillHex : kDefaultSilhouetteColor;
            svg += "\" fill-rule=\"evenodd\" d=\"";
        }
        svg += d;
        svg += "\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}

} // namespace zephrin
