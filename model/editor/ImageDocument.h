#pragma once
// One opened image: the picture upright, long edge at most 8192 px, and where it
// came from. Every load makes a new document with a new id, even of the same
// file.

#include "engine/types/ImageBox.h"

#include <QUrl>
#include <QUuid>

#include <optional>

namespace zephrin {

struct ImageDocument {
    QUuid id;
    QUrl url;
    // The file name shown and exported under: the file's own, or the name a
    // hand-off gave it ("duck.png" for a shared copy in a private folder).
    QString name;
    ImageBox image;
    qint64 fileSize = 0;  // bytes on disk; 0 when the file system does not say

    int width() const { return image.image().width(); }
    int height() const { return image.image().height(); }

    // Reads the local file the URL names, or none when it is not a readable
    // image (the import reports that as "Couldn't open <name>."). `name`:
    // the document's name, empty for the file's own. Blocking: call it off
    // the GUI thread.
    static std::optional<ImageDocument> load(const QUrl& url, const QString& name = {});
};

} // namespace zephrin
