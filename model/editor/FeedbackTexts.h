#pragma once
// The sentences of the editor's success notices and of its save failures.

#include <QString>
#include <QStringList>

namespace zephrin::feedback {

// A folder as people read it: "~/Pictures" under the home folder, "~" for
// the home folder itself, the absolute path elsewhere.
QString folderText(const QString& folder, const QString& home);

// "Saved duck.png to ~/Pictures".
QString savedNotice(const QString& filePath, const QString& home);
// "Exported 1 file to ~/Out", "Exported 5 files to ~/Out"; with the files
// written under a numbered name as theirs was taken: "…; 1 name was taken, so
// it is cat-cutout-2.png", "…; 3 names were taken, so those end in -2, -3 …".
QString exportedNotice(int files, const QString& folder, const QString& home, const QStringList& renamed = {});
// The shared file by its full path: "Ready to share
// /run/user/1000/zephrin-share/duck-cutout.png".
QString sharedNotice(const QString& filePath);
// Where no file manager could show it, the file or folder of a notice by its
// full path: "No file manager is available to show /home/ana/Out".
QString notShownNotice(const QString& path);
// "Couldn't save duck.png: the disk is full."
QString saveFailure(const QString& filePath, const QString& reason);

} // namespace zephrin::feedback
