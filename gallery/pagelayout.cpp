#include "gallery/pagelayout.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <limits>

namespace pelmaris::gallery {

namespace {

qint64 atLeastOne(qint64 n)
{
    return std::max<qint64>(n, 1);
}

qint64 integerSqrt(qint64 n)
{
    if (n <= 0)
        return 0;
    auto r = static_cast<qint64>(std::sqrt(static_cast<double>(n)));
    while (r * r > n)
        --r;
    while ((r + 1) * (r + 1) <= n)
        ++r;
    return r;
}

} // namespace

QString mainImageRule(const LayoutChoice &choice, QSize workArea, qsizetype pathCount)
{
    const qint64 w = workArea.width();
    const qint64 h = workArea.height();
    const qint64 area = w * h;
    const auto square = [&](qint64 n) {
        const qint64 s = integerSqrt(((area * 5) / 10) / atLeastOne(n));
        return QStringLiteral("#main img {width: %1px; height: %1px; object-fit: contain; "
                              "margin: 2;}")
            .arg(s);
    };
    switch (choice.layout) {
    case Layout::AutoScaled:
        return square(pathCount);
    case Layout::RangeView:
        return square(choice.rangeCount);
    case Layout::FixedWidth:
        return QStringLiteral("#main img {width: %1px; object-fit: contain; margin: 4; "
                              "vertical-align: middle;}")
            .arg(((w * 4) / 5) / atLeastOne(choice.columns));
    case Layout::FixedHeight:
        return QStringLiteral("#main img {height: %1px; object-fit: contain; margin: 4;}")
            .arg(((h * 4) / 5) / atLeastOne(choice.rows));
    case Layout::WidthPercent:
        return QStringLiteral("#main img {width: %1%;}").arg(choice.widthPercent);
    case Layout::RealSize:
        break;
    }
    return {};
}

int shownEdge(const LayoutChoice &choice, QSize workArea, qsizetype pathCount)
{
    const qint64 w = workArea.width();
    const qint64 h = workArea.height();
    qint64 edge = 0;
    switch (choice.layout) {
    case Layout::AutoScaled:
        edge = integerSqrt(((w * h * 5) / 10) / atLeastOne(pathCount));
        break;
    case Layout::RangeView:
        edge = integerSqrt(((w * h * 5) / 10) / atLeastOne(choice.rangeCount));
        break;
    case Layout::FixedWidth:
        edge = ((w * 4) / 5) / atLeastOne(choice.columns);
        break;
    case Layout::FixedHeight:
        edge = ((h * 4) / 5) / atLeastOne(choice.rows);
        break;
    case Layout::WidthPercent:
        edge = (w * atLeastOne(choice.widthPercent)) / 100;
        break;
    case Layout::RealSize:
        break;
    }
    return int(std::min<qint64>(edge, std::numeric_limits<int>::max()));
}

QString layoutLabel(const LayoutChoice &choice)
{
    switch (choice.layout) {
    case Layout::AutoScaled:
        return QStringLiteral("AutoScaled");
    case Layout::RangeView:
        return QStringLiteral("RangeView");
    case Layout::FixedWidth:
        return QStringLiteral("FixedWidth");
    case Layout::FixedHeight:
        return QStringLiteral("FixedHeight");
    case Layout::WidthPercent:
        return QStringLiteral("Width %1%").arg(choice.widthPercent);
    case Layout::RealSize:
        break;
    }
    return QStringLiteral("RealSize");
}

int guardRangeCount(int value, int listItemCount)
{
    if (listItemCount > 0 && value >= listItemCount)
        value = listItemCount;
    return std::max(value, 1);
}

int guardWidthPercent(int value)
{
    return std::clamp(value, 1, 100);
}

int layoutButtonWidth(const QFontMetrics &metrics, const QString &caption)
{
    return metrics.horizontalAdvance(caption + QStringLiteral("    "));
}

int numberBoxWidth(int radioButton11Width)
{
    return (2 * radioButton11Width) / 3;
}

} // namespace pelmaris::gallery
