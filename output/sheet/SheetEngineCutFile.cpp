// The cut file: the traced outlines of every placed copy as red hairlines on
// an SVG page in inches, for cutting-machine software to open at true size.

#include "output/sheet/SheetEngine.h"

#include "output/vector/PathCommands.h"
#include "output/vector/SvgNumber.h"

namespace zephrin {

std::string SheetEngine::cutPathData(const std::vector<TracedLayer>& layers, double sx, double sy, double ox,
                                     double oy)
{
    std::string data;
    for (const TracedLayer& layer : layers)
        appendPathData(data, layer.contours, [&](std::string& out, const Pt& p) {
            appendFixed(out, ox + sx * p.x, 4);
            out += ' ';
            appendFixed(out, oy + sy * p.y, 4);
        });
    return data;
}

std::string SheetEngine::svgNumber(double value)
{
    std::string text;
    appendTrimmed(text, value, 4);
    return text;
}

std::string SheetEngine::cutFile(QSizeF paperInches, const std::vector<std::string>& pathData)
{
    const std::string width = svgNumber(paperInches.width()), height = svgNumber(paperInches.height());
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width + "in\" height=\"" + height +
                      "in\" viewBox=\"0 0 " + width + ' ' + height + "\">\n";
    // One user unit is one inch: the stroke is a 0.005-inch hairline.
    svg += "  <g id=\"cut\" fill=\"none\" stroke=\"#FF0000\" stroke-width=\"0.005\">\n";
    for (const std::string& d : pathData) {
        svg += "    <path d=\"";
        svg += d;
        svg += "\"/>\n";
    }
    svg += "  </g>\n</svg>\n";
    return svg;
}

} // namespace zephrin
