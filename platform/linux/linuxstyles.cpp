#include "platform/linux/linuxstyles.h"

#include "platform/linux/darkstyle.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace pelmaris::platform {

void LinuxStyles::captureNative()
{
    if (m_captured)
        return;
    m_captured = true;
    m_nativeStyle = QApplication::style()->name();
    m_nativePalette = QApplication::palette();
}

void LinuxStyles::setDark(bool dark)
{
    captureNative();
    if (dark == m_dark)
        return;
    m_dark = dark;
    if (dark) {
        QApplication::setStyle(new DarkStyle);
        QApplication::setPalette(darkPalette());
    } else {
        QApplication::setStyle(QStyleFactory::create(m_nativeStyle));
        QApplication::setPalette(m_nativePalette);
    }
}

QColor LinuxStyles::color(StyleColor which) const
{
    if (m_dark) {
        switch (which) {
        case StyleColor::ButtonFace:
        case StyleColor::Window:
            return QColor(darkcolors::Window);
        case StyleColor::Button:
            return QColor(darkcolors::Button);
        case StyleColor::ButtonText:
            return QColor(darkcolors::ButtonText);
        case StyleColor::ListView:
            return QColor(darkcolors::ListView);
        }
    }
    const QPalette palette = QApplication::palette();
    switch (which) {
    case StyleColor::ButtonFace:
    case StyleColor::Window:
        return palette.color(QPalette::Window);
    case StyleColor::Button:
        return palette.color(QPalette::Button);
    case StyleColor::ButtonText:
        return palette.color(QPalette::ButtonText);
    case StyleColor::ListView:
        return palette.color(QPalette::Base);
    }
    return {};
}

QPalette LinuxStyles::darkPalette()
{
    const QColor window(darkcolors::Window);
    const QColor button(darkcolors::Button);
    const QColor base(darkcolors::ListView);
    const QColor text(darkcolors::ButtonText);
    const QColor dimmed(0x80, 0x80, 0x80);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, button);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, dimmed);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(0xff, 0x60, 0x60));
    p.setColor(QPalette::Light, QColor(0x4a, 0x4a, 0x4a));
    p.setColor(QPalette::Midlight, QColor(0x40, 0x40, 0x40));
    p.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x30));
    p.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x18));
    p.setColor(QPalette::Shadow, QColor(0x00, 0x00, 0x00));
    p.setColor(QPalette::Highlight, QColor(0x2a, 0x6a, 0xb0));
    p.setColor(QPalette::HighlightedText, text);
    p.setColor(QPalette::Link, QColor(0x6a, 0xb0, 0xf0));
    p.setColor(QPalette::LinkVisited, QColor(0xb0, 0x8a, 0xf0));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, dimmed);
    return p;
}

} // namespace pelmaris::platform
