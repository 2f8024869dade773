#pragma once
// What the export sheet shows for a format and the editor's export settings:
// which rows stand and which take input, the menus' and sliders' texts, the
// export button's title and the listing preset's requirement summary. QML
// reaches it as the singleton ExportRules; formats arrive as their labels
// ("PNG", "SVG").

#include <QObject>
#include <QSize>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class ExportSheetRules : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(ExportRules)
    QML_SINGLETON

public:
    using QObject::QObject;

    // The tracing rows (Trace, Colors, Detail, FileMaker) stand for SVG only;
    // Quality and Transparent Background for every other format.
    Q_INVOKABLE bool isVector(const QString& format) const;
    Q_INVOKABLE bool showsWebPNote(const QString& format) const;
    // Quality takes input for the lossy formats (JPG, WebP, HEIC).
    Q_INVOKABLE bool qualityEnabled(const QString& format) const;
    // Transparency is kept only where there is some to keep: not in JPG, and
    // not when the result is opaque (an opaque background fills it).
    Q_INVOKABLE bool transparencyEnabled(const QString& format, bool resultOpaque) const;
    // "Export SVG" or "Export Image".
    Q_INVOKABLE QString exportTitle(const QString& format) const;

    // The Colors menu: "Silhouette" for 1, else "2 colors".
    Q_INVOKABLE QString colorsTitle(int colors) const;
    // The Size menu: "2400 px".
    Q_INVOKABLE QString sizeTitle(int longEdge) const;
    // "Smooth" below 0.34, "Balanced" below 0.67, else "Precise".
    Q_INVOKABLE QString detailText(double detail) const;
    // "90%", truncated.
    Q_INVOKABLE QString qualityText(double quality) const;

    // What an export writes, said under the Size row: a map of "text" (the
    // picture's size, or the drawing's longer side for SVG; "" without a
    // result) and "short" (the file is smaller than the active preset, if
    // any, asks for). `written` is the editor's exportSize, `preset` the
    // active preset's title or nothing.
    Q_INVOKABLE QVariantMap sizeNote(QSize written, int longEdge, const QString& format, const QVariant& preset) const;

    // The summary of the active preset's checks (maps with a Boolean "ok"):
    // a map of "met" (no check fails), "symbol" and "text".
    Q_INVOKABLE QVariantMap requirementSummary(const QVariantList& checks, const QString& presetTitle) const;
};

} // namespace zephrin
