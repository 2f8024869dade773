#pragma once
// The work of zephrin-share: walk the shared items in order, copy the first
// usable image unchanged into the inbox under a fresh name, and give the URL
// that announces it. Later items are never looked at once one was handed off.
//
// An item is a local path, a file: URL, or "-" for data on standard input
// (data without a name). A usable image is data whose first bytes are those of
// an image type the editor opens, with a header its reader takes
// (PictureHeader.h), from a regular file whose name has an image
// extension or none (then, and for data without a name, the type's extension
// is used). Empty data and anything larger than the cap are not usable. Copies
// are streamed, so the cap, not memory, bounds what is read, and each lands
// in one atomic rename: a waiting file is always complete. A copy of a named
// file carries the source's name as its origin (OriginalName.h).

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace zephrin {

struct HandOffResult {
    std::optional<QUrl> url;  // the announcing URL; none when nothing was handed off
    QString fileName;         // the waiting file's name when one was written
    QStringList problems;     // one line per item that was passed over, and why
};

inline constexpr qint64 kShareSizeCap = 512LL * 1024 * 1024;

// Hands off the first usable item into `inboxFolder` (none: no inbox, so
// nothing can be handed off). `standardInput` serves the item "-".
HandOffResult handOffFirstImage(const QStringList& items, const std::optional<QString>& inboxFolder,
                                QIODevice* standardInput, qint64 sizeCap = kShareSizeCap);

// Copies everything `source` yields into `folder` as a new inbox file with
// `extension`, or, when the extension is empty, the one the data's first bytes
// call for. The file name, or none with `problem` set (empty data, more than
// `sizeCap` bytes, first bytes of no image type or a header its reader
// refuses, a read or write failure).
std::optional<QString> copyIntoInbox(QIODevice& source, const QString& extension, const QString& folder,
                                     qint64 sizeCap, QString& problem);

} // namespace zephrin
