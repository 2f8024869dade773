#pragma once

#include <QMap>
#include <QString>

namespace zephrin {

// One downloadable font family of the catalogue.
struct FontItem {
    QString id;        // stable key: favourites, recents, previews and downloads use it
    QString name;      // display name
    QString category;  // the picker's group (not checked against the catalogue's list)
    // Face style ("regular", "bold", ...) → path of the font file relative to the
    // catalogue's base. "regular" must be present for a download.
    QMap<QString, QString> files;

    friend bool operator==(const FontItem&, const FontItem&) = default;
};

} // namespace zephrin
