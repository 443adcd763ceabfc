#pragma once

#include "platform/styles.h"

#include <QPalette>
#include <QString>

namespace pelmaris::platform {

// Light is the style and palette the program started with; dark is Fusion with a dark
// palette. The native look is captured at the first switch, so the switch back restores
// exactly what the desktop gave us.
class LinuxStyles final : public Styles {
public:
    void setDark(bool dark) override;
    bool isDark() const override { return m_dark; }
    QColor color(StyleColor which) const override;

    static QPalette darkPalette();

private:
    void captureNative();

    bool m_dark = false;
    bool m_captured = false;
    QString m_nativeStyle;
    QPalette m_nativePalette;
};

} // namespace pelmaris::platform
