#include "controls/IconTable.h"

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
    // inspector: the cutout panel, hand refine, selections, export sheet
    Entry{u"info.circle.fill", 0xe88e},                   // info
    Entry{u"paintpalette", 0xe40a},                       // palette
    Entry{u"pencil.and.scribble", 0xe746},                // draw
    Entry{u"scribble.variable", 0xe155},                  // gesture
    Entry{u"waveform.path.ecg", 0xe6e1},                  // show_chart
    Entry{u"circle.lefthalf.filled", 0xeb37},             // contrast
    Entry{u"lightbulb", 0xe90f},                          // lightbulb_outline
    Entry{u"rectangle.dashed", 0xe162},                   // select_all
    Entry{u"scissors", 0xe14e},                           // content_cut
    Entry{u"square.dashed.inset.filled", 0xe3dc},         // filter_center_focus
    Entry{u"scissors.badge.ellipsis", 0xebb6},            // deselect
    Entry{u"cursorarrow", 0xe569},                        // near_me
    Entry{u"hand.raised", 0xe925},                        // pan_tool
    Entry{u"eraser", 0xf0ff},                             // cleaning_services
    Entry{u"paintbrush", 0xe3ae},                         // brush
    Entry{u"lasso", 0xef52},                              // highlight_alt
    Entry{u"eyedropper", 0xe3b8},                         // colorize
    Entry{u"checkmark.circle.fill", 0xe86c},              // check_circle
    Entry{u"pencil.and.outline", 0xebbb},                 // polyline
    Entry{u"checkmark", 0xe5ca},                          // check
    Entry{u"xmark", 0xe5cd},                              // close
    Entry{u"checkmark.seal.fill", 0xef76},                // verified
    Entry{u"exclamationmark.triangle.fill", 0xe002},      // warning
    // backdrop pickers
    Entry{u"circle", 0xe836},                             // radio_button_unchecked
    Entry{u"heart.fill", 0xe87d},                         // favorite
    Entry{u"arrow.clockwise", 0xe5d5},                    // refresh
    Entry{u"paintbrush.pointed", 0xe243},                 // format_paint
    // sticker sheet
    Entry{u"exclamationmark.triangle", 0xe8b2},           // report_problem
    Entry{u"arrow.triangle.2.circlepath", 0xe863},        // autorenew
    Entry{u"trash", 0xe872},                              // delete
    // canvas
    Entry{u"arrow.left.and.right", 0xe8d4},               // swap_horiz
    // inspector: the colour and resize panels, the compliance list
    Entry{u"crop", 0xe3be},                               // crop
    Entry{u"circle.lefthalf.striped.horizontal", 0xe3e9}, // gradient
    Entry{u"drop.fill", 0xe798},                          // water_drop
    Entry{u"arrow.right", 0xe5c8},                        // arrow_forward
    Entry{u"arrow.down", 0xe5db},                         // arrow_downward
    Entry{u"arrow.left", 0xe5c4},                         // arrow_back
    Entry{u"arrow.up", 0xe5d8},                           // arrow_upward
    Entry{u"arrow.down.right", 0xf1e4},                   // south_east
    Entry{u"arrow.down.left", 0xf1e5},                    // south_west
    // text and shapes
    Entry{u"square.on.circle", 0xe574},                   // category
    Entry{u"bold", 0xe238},                               // format_bold
    Entry{u"italic", 0xe23f},                             // format_italic
    Entry{u"heart", 0xe87e},                              // favorite_border
    // batch panel and grid
    Entry{u"square.grid.2x2.fill", 0xe871},               // dashboard
    Entry{u"stop.fill", 0xe047},                          // stop
    Entry{u"square.grid.3x3.square", 0xe3ec},             // grid_on
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
