#pragma once
// The texts and the arithmetic of the batch panel and the batch grid, kept
// out of QML so the unit tests reach them: the long-edge sizes offered for a
// batch, the preset summary, the progress and failure lines, and how many
// tiles fit across the grid.

#include "engine/types/ListingPreset.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

namespace zephrin::batchview {

// The long-edge sizes a batch offers, in pixels, smallest first.
const QList<int>& longEdgeChoices();
// The sizes the long-edge menu lists while the batch uses `current`: the
// offered ones, and `current` in its place among them when it is another
// (Settings offer sizes of their own), so the menu shows the size the batch
// writes.
QList<int> longEdgeOptions(int current);
// "2400 px".
QString longEdgeLabel(int pixels);
// The pixels of a label; 0 for text that is not one.
int longEdgePixels(const QString& label);

// "Exports JPG at 2000 px long edge. A smaller picture is not enlarged." for
// the preset's export defaults (an SVG preset's drawing is drawn at its size).
QString presetSummary(ListingPreset preset);
// "1/3": done of total.
QString countText(int done, int total);
// "Cutting image 3 of 5…".
QString progressText(int index, int total);
// "2 images couldn't be processed. Click a red tile to open it in the editor."
QString failureNote(int failed);
// "Export All (3)".
QString exportAllTitle(int done);
// "Choose a folder for the 3 cutouts."
QString folderMessage(int done);

// The grid's tiles: at least kTileMin wide, at most kTileMax, kGap apart,
// inside a margin of kGap on each side.
inline constexpr double kTileMin = 150;
inline constexpr double kTileMax = 210;
inline constexpr double kGap = 16;
// How many tiles fit across a grid `width` wide (at least one).
int gridColumns(double width);
// The width of one tile in a grid `width` wide.
double tileWidth(double width);

} // namespace zephrin::batchview

namespace zephrin {

// The same for QML, as the singleton BatchRules of Zephrin.Pickers.
class BatchRulesQml : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(BatchRules)
    QML_SINGLETON
    Q_PROPERTY(QStringList presetOptions READ presetOptions CONSTANT)
    Q_PROPERTY(QStringList formatOptions READ formatOptions CONSTANT)
    Q_PROPERTY(double gap READ gap CONSTANT)

public:
    using QObject::QObject;
    QStringList presetOptions() const;
    QStringList formatOptions() const;
    double gap() const { return batchview::kGap; }
    // The long-edge menu's labels while the batch uses `pixels`, and the one
    // it shows selected.
    Q_INVOKABLE QStringList longEdgeOptions(int pixels) const;
    Q_INVOKABLE QString longEdgeSelection(int pixels) const { return batchview::longEdgeLabel(pixels); }
    // The pixels of a label; 0 for an unknown label.
    Q_INVOKABLE int longEdgePixels(const QString& label) const { return batchview::longEdgePixels(label); }
    Q_INVOKABLE QString presetSummary(const QString& preset) const;
    Q_INVOKABLE QString countText(int done, int total) const { return batchview::countText(done, total); }
    Q_INVOKABLE QString progressText(int index, int total) const { return batchview::progressText(index, total); }
    Q_INVOKABLE QString failureNote(int failed) const { return batchview::failureNote(failed); }
    Q_INVOKABLE QString exportAllTitle(int done) const { return batchview::exportAllTitle(done); }
    Q_INVOKABLE int gridColumns(double width) const { return batchview::gridColumns(width); }
    Q_INVOKABLE double tileWidth(double width) const { return batchview::tileWidth(width); }
};

} // namespace zephrin
