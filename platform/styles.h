#pragma once

#include <QColor>

namespace pelmaris::platform {

// Colours that the program reads from the active style.
enum class StyleColor {
    ButtonFace, // the main window's background
    ButtonText,
    Button, // normal push buttons
    Window,
    ListView,
};

// The fixed colours of the dark scheme.
namespace darkcolors {
inline constexpr QRgb Window = 0x272727;
inline constexpr QRgb Button = 0x373737;
inline constexpr QRgb ListView = 0x1f1f1f;
inline constexpr QRgb ButtonText = 0xffffff;
} // namespace darkcolors

// Switches the whole program between the platform's own look and the dark scheme.
class Styles {
public:
    virtual ~Styles() = default;
    virtual void setDark(bool dark) = 0;
    virtual bool isDark() const = 0;
    virtual QColor color(StyleColor which) const = 0;
};

} // namespace pelmaris::platform
