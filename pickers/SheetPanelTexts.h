#pragma once
// What the sticker-sheet panel and its rows say and allow, decided here so
// that the QML only lays it out: the packing status, the slider read-outs, the
// cutter notes, the export note, the width field's text, and which buttons
// may be pressed. A QML singleton (SheetPanelTexts) over plain functions.

#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <cstdint>
#include <optional>

namespace zephrin::sheetpanel {

// "6 stickers placed", "1 sticker placed", or "4 placed, 3 didn't fit — …".
QString packingStatus(std::int64_t placed, std::int64_t requested);
// Whether every requested copy was placed (the check symbol, else the warning).
bool allPlaced(std::int64_t placed, std::int64_t requested);

// The slider read-outs, in inches.
QString borderText(double inches);
QString bleedText(double inches);
QString spacingText(double inches);

// The note under the cutter menu, by the region's and the paper's labels:
// a cutter's usable area is that of the paper chosen ("3.5 × 5.5 in usable
// area" on 4 × 6 in). Empty for a label that is neither.
QString regionNote(const QString& region, const QString& paper);
QString exportNote(std::int64_t dpi);

// A sticker's width as the row's field shows it in `locale`: at most two
// fraction digits, none when whole ("2", "2.5", "2,75").
QString widthText(double inches, const QLocale& locale);
// The width typed into the field; none for text that is not a finite number.
std::optional<double> parseWidth(const QString& text, const QLocale& locale);

// Enabling of the panel's buttons. `exportable`: the editor's sheetExportable.
struct Enabling {
    bool addCutout = false;
    bool exportPNG = false;
    bool exportSVG = false;
};
Enabling enabling(bool hasCutout, bool exportable, bool isProcessing);

} // namespace zephrin::sheetpanel

namespace zephrin {

class SheetPanelTextsQml : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(SheetPanelTexts)
    QML_SINGLETON
    Q_PROPERTY(QStringList paperOptions READ paperOptions CONSTANT)
    Q_PROPERTY(QStringList regionOptions READ regionOptions CONSTANT)

public:
    using QObject::QObject;
    QStringList paperOptions() const;
    QStringList regionOptions() const;
    Q_INVOKABLE QString packingStatus(double placed, double requested) const;
    Q_INVOKABLE bool allPlaced(double placed, double requested) const;
    Q_INVOKABLE QString borderText(double inches) const;
    Q_INVOKABLE QString bleedText(double inches) const;
    Q_INVOKABLE QString spacingText(double inches) const;
    Q_INVOKABLE QString regionNote(const QString& region, const QString& paper) const;
    Q_INVOKABLE QString exportNote(double dpi) const;
    // In the user's locale.
    Q_INVOKABLE QString widthText(double inches) const;
    // The width typed, or undefined when the text is not a number.
    Q_INVOKABLE QVariant parseWidth(const QString& text) const;
    Q_INVOKABLE bool addEnabled(bool hasCutout) const;
    Q_INVOKABLE bool exportPNGEnabled(bool exportable, bool isProcessing) const;
    Q_INVOKABLE bool exportSVGEnabled(bool exportable) const;
};

} // namespace zephrin
