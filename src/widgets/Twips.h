#pragma once

#include <QPushButton>
#include <QWidget>

// Window layouts are given in twips, drawn for a narrow dialog font: 15 twips are one logical
// pixel while a window's font is no wider than that one. A wider font widens and heightens
// the whole layout in proportion, so that every caption keeps the room it was drawn with and
// the windows keep their shape; the layout never shrinks below its drawn size.
namespace Twips {

// Average width in logical pixels of the letters a-z and A-Z in the font the layouts were
// drawn for, a narrow 8-point dialog font: at this width the captions of the drawn layouts
// keep their whole text inside the margins of Qt's styles.
inline constexpr double DrawnLetterWidth = 5.75;

// How much a layout grows for a window showing `font`: its average letter width over
// DrawnLetterWidth, at least 1.
double scale(const QFont& font);

// Pixels for a length in twips inside `widget`'s window, whose font sets the scale.
int px(const QWidget* widget, int twips);

// Places a widget at twips relative to its parent, scaled for the font of its window.
void place(QWidget* widget, int left, int top, int width, int height);

// The visible caption without access-key markers, as a screen reader should say it.
inline QString plainCaption(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(u'&');
    caption.replace(u'\x01', u'&');
    return caption;
}

// A member of a button array: named "<array>_<index>", announced by its caption, placed.
inline QPushButton* arrayButton(QWidget* parent, const QString& array, size_t index, const QString& caption,
                                int left, int top, int width, int height)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(array + u'_' + QString::number(index));
    button->setAccessibleName(plainCaption(caption));
    place(button, left, top, width, height);
    return button;
}

} // namespace Twips
