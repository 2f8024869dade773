#include "app/shell/DialogStyle.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace zephrin {

void applyDialogStyle(QApplication& application)
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    // The window's theme colours: panel, surface, control, border, accent, texts.
    const QColor panel(0x17, 0x10, 0x24);
    const QColor surface(0x1E, 0x16, 0x30);
    const QColor control(0x22, 0x16, 0x33);
    const QColor border(0x34, 0x28, 0x47);
    const QColor accent(0x8B, 0x5C, 0xF6);
    const QColor text(0xF6, 0xF2, 0xFF);
    const QColor secondary(0xA8, 0x9D, 0xB8);
    const QColor tertiary(0x75, 0x6C, 0x82);

    QPalette palette;
    palette.setColor(QPalette::Window, panel);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, control);
    palette.setColor(QPalette::AlternateBase, surface);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, surface);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, text);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, text);
    palette.setColor(QPalette::ToolTipBase, control);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, tertiary);
    palette.setColor(QPalette::Light, surface);
    palette.setColor(QPalette::Midlight, control);
    palette.setColor(QPalette::Mid, border);
    palette.setColor(QPalette::Dark, border);
    palette.setColor(QPalette::Shadow, QColor(0x0B, 0x07, 0x13));
    palette.setColor(QPalette::Link, secondary);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, tertiary);
    application.setPalette(palette);
}

} // namespace zephrin
