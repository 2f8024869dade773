#pragma once
// Finds the face a document names. Documents store PostScript names
// ("HelveticaNeue-Bold"); full names ("Nimbus Sans Bold") are accepted too. The
// lookup asks fontconfig's current configuration, which holds the system's fonts
// and those the process registered with QFontDatabase::addApplicationFont.
//
// Where the named face is missing, a metric-compatible face from Debian stands
// in, so a layout keeps its proportions on a machine without the original; a
// name nobody knows gets the stand-in of the default face, Helvetica.
//
// Thread-safe. Only FontFace::font() needs the QGuiApplication.

#include <QFont>
#include <QString>

#include <optional>

namespace zephrin {

struct FontFace {
    QString family;          // as fontconfig and Qt's font database name it
    QString foundry;         // fontconfig's foundry, verbatim ("URW " has a space)
    QString styleName;       // "Bold", "Italic", ...
    QString postScriptName;
    QString file;            // empty only when fontconfig knows no font at all
    int faceIndex = 0;       // face within a collection file
    int weight = 400;        // OpenType scale, as QFont uses: 400 regular, 700 bold
    bool bold = false;       // the face itself is bold or heavier
    bool italic = false;     // the face itself is italic or oblique

    // This face as a QFont; the caller sets the size. The family is qualified
    // by its foundry ("Nimbus Sans [UKWN]"): Debian ships some families twice,
    // as Type 1 and as OpenType under different foundries, and without it Qt
    // may take another copy than the one found here.
    QFont font() const;

    friend bool operator==(const FontFace&, const FontFace&) = default;
};

namespace FontResolver {

// The face named `name`, or its stand-in. Never fails: at worst fontconfig's
// default sans-serif face.
FontFace resolve(const QString& name);

// The face of `face`'s family that has the wanted traits on top of those `face`
// already has (bold wanted on an italic face gives bold italic), keeping its
// weight and width as far as the family allows. `face` itself when it has them
// all; none when the family has no such face, so the caller must imitate them.
std::optional<FontFace> withTraits(const FontFace& face, bool bold, bool italic);

// The regular face of the family named `family` (fontconfig's name, any
// letter case) among the faces fontconfig knows: upright, not bold, nearest to
// the regular weight and normal width, with a PostScript name. None when the
// machine has no such face of that family.
std::optional<FontFace> installedRegularFace(const QString& family);

} // namespace FontResolver

} // namespace zephrin
