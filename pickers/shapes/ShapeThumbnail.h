#pragma once
// The label shapes as the gallery shows them, without a window: the gallery's
// groups with their kinds, and a kind's outline fitted into a thumbnail.

#include <QList>
#include <QPainterPath>
#include <QString>
#include <QStringList>

#include <optional>

namespace zephrin::shapethumbs {

// The gallery's groups, in display order.
QStringList groups();

// The catalogue's kinds of a group, in catalogue order, as (id, name).
QList<std::pair<QString, QString>> kindsOf(const QString& group);

// The outline of kind `id` for a width × height area in y-down view space:
// the kind's proportions at 92 % of the limiting side, centred, non-zero
// winding. None for an id outside the catalogue or an empty area.
std::optional<QPainterPath> thumbnailPath(const QString& id, double width, double height);

} // namespace zephrin::shapethumbs
