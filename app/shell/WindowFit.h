#pragma once
// The main window's first size on the screen it opens on: the size it
// prefers, made smaller where the screen's work area (the screen less its
// panels) cannot hold it, but never below the window's minimum.

#include <QSize>

namespace zephrin {

// Room kept for the window manager's title bar, whose height is not known
// before the window is shown.
inline constexpr int kTitleBarAllowance = 40;

// `preferred` and `minimum` are the window's content sizes; `workArea` is the
// screen's available size (an empty one leaves `preferred` as it is).
QSize fittedWindowSize(QSize preferred, QSize minimum, QSize workArea);

} // namespace zephrin
