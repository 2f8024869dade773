#pragma once
// Every number the interface shows as text goes through here, so a slider's
// read-out, the status bar and the panels agree: values are snapped to their
// slider step before they are formatted (57 never reads "56%"), whole numbers
// round halves away from zero unless a format says it truncates, and a
// negative zero is never shown.

#include <QString>

namespace zephrin::valuetext {

// `value` rounded to the nearest multiple of `step` (halves away from zero);
// `value` itself when `step` is not positive.
double snapped(double value, double step);

// Fixed-point text with `decimals` digits ("0.50", "12"); never "-0".
QString number(double value, int decimals);

// The whole number nearest to `value` (halves away from zero), and the whole
// number `value` truncates to.
QString rounded(double value);
QString truncated(double value);

// "57%" for 57 (a value already in percent); "12 px"; "+0.50 EV", "-1.25 EV".
QString percent(double value);
QString pixels(double value);
QString signedEV(double value);

// "Off" for zero, otherwise `text`.
QString offOr(double value, const QString& text);

// "1200 × 800".
QString dimensions(long long width, long long height);

// Panel read-outs that cut toward zero: the value snapped to its slider step,
// then truncated. "12 px", "-12 px", "57%" with the suffix given; signed:
// "+12%", "+30", "+0"; "Off" below one half (a blur or blend that does
// nothing); "199 × 100" for a rectangle's size.
QString wholeWith(double value, double step, const QString& suffix);
QString signedWhole(double value, double step, const QString& suffix);
QString offBelowHalf(double value, const QString& text);
QString truncatedDimensions(double width, double height);

// A file size in decimal units the way file managers write them: "Zero KB",
// "1 byte", "999 bytes", "512 KB" (whole kilobytes), "2.4 MB" (one decimal),
// "1.25 GB" (two decimals), trailing zeros dropped.
QString fileSize(long long bytes);

} // namespace zephrin::valuetext
