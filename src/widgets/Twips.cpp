#include "widgets/Twips.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

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
    // A window places dozens of controls in one font: the letters are shaped once for it, not
    // for every control, which spares a start about half a millisecond. The metrics follow the
    // screen's resolution too, so a change of it measures again.
    thread_local QString measuredKey;
    thread_local qreal measuredDpi = 0;
    thread_local double measuredScale = 1;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 0;
    QString key = font.key();
    if (dpi == measuredDpi && key == measuredKey)
        return measuredScale;
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const double average = QFontMetricsF(font).horizontalAdvance(letters) / double(letters.size());
    measuredKey = std::move(key);
    measuredDpi = dpi;
    measuredScale = std::max(1.0, average / DrawnLetterWidth);
    return measuredScale;
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
