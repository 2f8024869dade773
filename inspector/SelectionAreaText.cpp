#include "inspector/SelectionAreaText.h"

#include "engine/edits/SelectionKind.h"
#include "engine/types/Plural.h"

namespace zephrin {

QString SelectionAreaText::blockState(bool hasPendingSelection, bool polygonInProgress) const
{
    if (hasPendingSelection)
        return QStringLiteral("selected");
    return polygonInProgress ? QStringLiteral("outline") : QStringLiteral("choosing");
}

QString SelectionAreaText::selectedStatus(const QString& pendingKind) const
{
    return pendingKind + QStringLiteral(" selected");
}

QString SelectionAreaText::selectedHint(const QString& pendingKind, int pointCount) const
{
    const auto kind = fromRaw<SelectionKind>(pendingKind);
    if (kind && usesPoints(*kind) && pointCount >= 3)
        return QStringLiteral("Drag the corner handles to scale it, or drag inside to move it. Esc clears.");
    return QStringLiteral("Drag the handles to resize, or drag inside to move it. Esc clears.");
}

QString SelectionAreaText::cornersPlaced(int count) const
{
    return plural::count(count, u"corner") + QStringLiteral(" placed");
}

QString SelectionAreaText::choosingHint(const QString& kind, const QString& hostHint) const
{
    QString hint;
    switch (fromRaw<SelectionKind>(kind).value_or(SelectionKind::rectangle)) {
    case SelectionKind::rectangle:
    case SelectionKind::ellipse: hint = QStringLiteral("Drag out the shape on the image."); break;
    case SelectionKind::lasso: hint = QStringLiteral("Draw freehand around the part."); break;
    case SelectionKind::polygon:
        hint = QStringLiteral("Click corner by corner around the part — best for precise areas like one arm.");
        break;
    }
    return hostHint.isEmpty() ? hint : hint + u' ' + hostHint;
}

} // namespace zephrin
