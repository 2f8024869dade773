#pragma once
// What the hand refine panel shows for the editor's state: which block the
// canvas tool calls for and its note, the brush and colour texts, and the
// canvas tool chips' symbols and titles (shared with every panel that offers
// canvas tools). QML reaches it as the singleton RefineText; enumerations
// arrive as the labels the editor gives QML ("Erase", "Pick color").

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class HandRefineText : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(RefineText)
    QML_SINGLETON

public:
    using QObject::QObject;

    // The tool chip of a canvas tool: its symbol and its title.
    Q_INVOKABLE QString toolSymbol(const QString& tool) const;
    Q_INVOKABLE QString toolTitle(const QString& tool) const;

    // The block under the tool row: "brush" (erase, restore), "selection"
    // (select, the colour picker) or "note" (every other tool).
    Q_INVOKABLE QString toolBlock(const QString& tool) const;
    // The note of a "note" tool; empty for the others.
    Q_INVOKABLE QString toolNote(const QString& tool) const;
    // The hint above the brush settings of erase and restore.
    Q_INVOKABLE QString brushHint(const QString& tool) const;

    // "40 px"; "80%" for 0.8; "20".
    Q_INVOKABLE QString sizeText(double value) const;
    Q_INVOKABLE QString hardnessText(double value) const;
    Q_INVOKABLE QString toleranceText(double value) const;

    // "Colors in selection" or "Colors in image".
    Q_INVOKABLE QString colorsHeading(bool hasSelection) const;
    // "37%" for a share of 0.37.
    Q_INVOKABLE QString shareText(double share) const;
    // "No colors picked yet", "Will act on 1 color:", "Will act on 3 colors:".
    Q_INVOKABLE QString pickedCountText(int count) const;
    // "Remove color", or "Remove 3 colors" from two up.
    Q_INVOKABLE QString removeTitle(int count) const;
};

} // namespace zephrin
