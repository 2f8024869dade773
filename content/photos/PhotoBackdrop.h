#pragma once

#include <QString>

namespace zephrin {

// One downloadable backdrop photo of the catalogue.
struct PhotoBackdrop {
    QString id;        // names its thumbnail and full-image files; the editor's key is "photo:" + id
    QString category;  // the group it is listed under
    QString location;  // descriptive text carried with the photo, not interpreted

    friend bool operator==(const PhotoBackdrop&, const PhotoBackdrop&) = default;
};

} // namespace zephrin
