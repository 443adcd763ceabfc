#pragma once

// How the gallery page sizes its pictures: the six layouts, the CSS rule each gives for
// a work area and a number of pictures, the bounds their numbers are kept within, and
// the widths of the controls that choose them.

#include <QSize>
#include <QString>

class QFontMetrics;

namespace pelmaris::gallery {

// The six layouts of the option row, in the order the row tests its radio buttons.
enum class Layout {
    AutoScaled,   // RadioButton11
    RangeView,    // RadioButton12 with NumberBox12
    FixedWidth,   // RadioButton21 with NumberBox21
    FixedHeight,  // RadioButton31 with NumberBox31
    WidthPercent, // RadioButton41 with NumberBox41
    RealSize,     // RadioButton51
};

// What the option row shows when a page is written.
struct LayoutChoice {
    Layout layout = Layout::RangeView;
    int rangeCount = 20;    // NumberBox12
    int columns = 10;       // NumberBox21
    int rows = 5;           // NumberBox31
    int widthPercent = 100; // NumberBox41
};

// The page's "#main img" rule for a work area and a number of paths; empty for RealSize.
// A number below 1, typed or read from the settings, counts as 1 so that nothing
// divides by zero.
QString mainImageRule(const LayoutChoice &choice, QSize workArea, qsizetype pathCount);
// The longest side in pixels the rule gives a picture (the percentage taken of the work
// area's width); 0 for RealSize, where the picture's own size decides.
int shownEdge(const LayoutChoice &choice, QSize workArea, qsizetype pathCount);
// "AutoScaled", "RangeView", "FixedWidth", "FixedHeight", "Width N%", "RealSize".
QString layoutLabel(const LayoutChoice &choice);

// Guards of the number boxes: NumberBox12 stays between 1 and the number of list items
// (at least 1 with an empty list); NumberBox41 between 1 and 100.
int guardRangeCount(int value, int listItemCount);
int guardWidthPercent(int value);

// Widths of the option row's controls: a radio button fits its caption and four blanks
// in the window's font; a number box is two thirds of RadioButton11, which fills a cell.
int layoutButtonWidth(const QFontMetrics &metrics, const QString &caption);
int numberBoxWidth(int radioButton11Width);

} // namespace pelmaris::gallery
