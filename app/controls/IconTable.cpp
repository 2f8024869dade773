#include "app/controls/IconTable.h"

#include <array>

namespace zephrin::icons {

namespace {

struct Entry {
    const char16_t* symbol;
    char16_t codePoint;  // Material Icons code point
};

constexpr std::array kTable{
    // sidebar tools
    Entry{u"square.dashed", 0xe3c2},                      // crop_free
    Entry{u"photo", 0xe410},                              // photo
    Entry{u"sparkles", 0xe65f},                           // auto_awesome
    Entry{u"slider.horizontal.3", 0xe429},                // tune
    Entry{u"textformat", 0xe262},                         // text_fields
    Entry{u"arrow.up.left.and.arrow.down.right", 0xe56b}, // zoom_out_map
    Entry{u"rectangle.grid.2x2", 0xe9b0},                 // grid_view
    Entry{u"square.grid.2x2", 0xe413},                    // photo_library
    Entry{u"gearshape", 0xe8b8},                          // settings
    // toolbar
    Entry{u"square.and.arrow.down", 0xe2c4},              // file_download
    Entry{u"arrow.uturn.backward", 0xe166},               // undo
    Entry{u"arrow.uturn.forward", 0xe15a},                // redo
    Entry{u"doc.on.doc", 0xe14d},                         // content_copy
    Entry{u"arrow.counterclockwise", 0xe042},             // replay
    Entry{u"xmark.circle", 0xe888},                       // highlight_off
    Entry{u"minus", 0xe15b},                              // remove
    Entry{u"plus", 0xe145},                               // add
    Entry{u"rectangle.split.2x1", 0xe949},                // vertical_split
    Entry{u"chevron.down", 0xe5cf},                       // expand_more
    // export button and status bar
    Entry{u"square.and.arrow.up", 0xe6b8},                // ios_share
    Entry{u"printer", 0xe8ad},                            // print
    Entry{u"checkmark.circle", 0xe92d},                   // check_circle_outline
    // shared controls
    Entry{u"info.circle", 0xe88f},                        // info_outline
    Entry{u"photo.on.rectangle", 0xe3f4},                 // image
    // batch panel and grid
    Entry{u"square.grid.2x2.fill", 0xe871},               // dashboard
    Entry{u"trash", 0xe872},                              // delete
    Entry{u"stop.fill", 0xe047},                          // stop
    Entry{u"square.grid.3x3.square", 0xe3ec},             // grid_on
    Entry{u"checkmark.circle.fill", 0xe86c},              // check_circle
    Entry{u"exclamationmark.triangle.fill", 0xe002},      // warning
};

} // namespace

QString fontFamily()
{
    return QStringLiteral("Material Icons");
}

QString glyph(QStringView symbol)
{
    for (const Entry& entry : kTable)
        if (symbol == QStringView(entry.symbol))
            return QString(QChar(entry.codePoint));
    return {};
}

QStringList symbols()
{
    QStringList names;
    for (const Entry& entry : kTable)
        names << QString::fromUtf16(entry.symbol);
    return names;
}

} // namespace zephrin::icons
