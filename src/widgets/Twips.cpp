#include "widgets/Twips.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

int scaled(int twips, double scale)
{
    return static_cast<int>(std::lround(twips * scale / 15.0));
}

double windowScale(const QWidget* widget)
{
    return Twips::scale(widget->window()->font());
}

} // namespace

namespace Twips {

double scale(const QFont& font)
{
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const double average = QFontMetricsF(font).horizontalAdvance(letters) / double(letters.size());
    return std::max(1.0, average / DrawnLetterWidth);
}

int px(const QWidget* widget, int twips)
{
    return scaled(twips, windowScale(widget));
}

void place(QWidget* widget, int left, int top, int width, int height)
{
    const double factor = windowScale(widget);
    widget->setGeometry(scaled(left, factor), scaled(top, factor), scaled(width, factor),
                        scaled(height, factor));
}

} // namespace Twips
