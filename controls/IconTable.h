#pragma once
// The one table from the symbol names the interface uses (the design's names,
// such as "square.and.arrow.up") to glyphs of the Material Icons font
// (Debian's fonts-material-design-icons-iconfont). No other file knows a
// glyph code; views name symbols and ask here.

#include <QString>
#include <QStringList>

namespace zephrin::icons {

// The font family that holds the glyphs.
QString fontFamily();

// The glyph (one character) for `symbol`; empty for a name the table lacks.
QString glyph(QStringView symbol);

// Every symbol name of the table.
QStringList symbols();

} // namespace zephrin::icons
