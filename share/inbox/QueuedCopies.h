#pragma once
// Handed-over files that wait in the batch queue. The queue reads its files
// when it runs (and again for every later run), so each goes on living
// outside the inbox as long as the queue names it: under the name it was
// shared with, alone in a folder of its own inside "Zephrin/Incoming/Queued"
// (mode 0700 like the inbox; the file 0600 as zephrin-share made it). The
// copy is made before the waiting file leaves the inbox, so a picture is
// never only in a queue that could not take it.

#include <QString>
#include <QStringList>

#include <optional>

namespace zephrin {

// "Zephrin/Incoming/Queued" beside the inbox; none without an inbox.
std::optional<QString> queuedCopiesFolder();

// The name a handed-over file is queued under: the name it was shared with
// when that names an image type, else that name (or "Shared image") with the
// waiting file's extension; shortened to what a file system takes.
QString queuedName(const std::optional<QString>& sharedName, const QString& waitingFile);

// Puts the waiting file `path` under `name` into a new private folder inside
// `folder`: a second link to the same file where the file system allows,
// else a copy. The waiting file stays where it is. The copy's path, or none
// (nothing is left behind then).
std::optional<QString> copyForQueue(const QString& path, const QString& name, const QString& folder);

// Whether `path` is a copy copyForQueue made in `folder`.
bool isQueuedCopy(const QString& folder, const QString& path);

// Deletes a copy that copyForQueue made in `folder`, with its folder; nothing
// else.
void dropQueuedCopy(const QString& folder, const QString& copy);

// Puts back into the inbox what an editor that did not end cleanly left
// outside it: files taken out to be opened (in "Zephrin/Incoming") and queued
// copies, each under a new waiting name (a copy that lost its origin records
// its shared name as one), its copy folder then gone. The inbox scan offers
// them again. For the one editor that runs, at its start: no other can be
// using them. Returns how many went back.
int returnLeftBehindFiles();
// The same over explicit folders.
int returnLeftBehind(const QString& inbox, const QString& incoming, const QString& queued);

} // namespace zephrin
