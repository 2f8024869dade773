#pragma once
// The selection area controls' state and texts: which of the three states
// the block shows, the status line and hint of a finished selection, the
// progress of an outline, and the hint for choosing a shape. QML reaches it as
// the singleton SelectionText; selection kinds arrive as their labels
// ("Rectangle", "Outline").

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class SelectionAreaText : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(SelectionText)
    QML_SINGLETON

public:
    using QObject::QObject;

    // "selected" while a selection is pending, else "outline" while an
    // outline is being placed, else "choosing".
    Q_INVOKABLE QString blockState(bool hasPendingSelection, bool polygonInProgress) const;
    // "Lasso selected".
    Q_INVOKABLE QString selectedStatus(const QString& pendingKind) const;
    // How to reshape the pending selection: by its corner handles for a
    // lasso or outline of three points or more, by its handles otherwise.
    Q_INVOKABLE QString selectedHint(const QString& pendingKind, int pointCount) const;
    // "1 corner placed", "4 corners placed".
    Q_INVOKABLE QString cornersPlaced(int count) const;
    // The hint of a shape, followed after one blank by the host's hint when
    // it gives one.
    Q_INVOKABLE QString choosingHint(const QString& kind, const QString& hostHint) const;
};

} // namespace zephrin
