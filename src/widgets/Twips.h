#pragma once

#include <QPushButton>
#include <QWidget>

// Window layouts are given in twips; 15 twips are one logical pixel.
namespace Twips {

inline int px(int twips)
{
    return (twips + 7) / 15;
}

inline void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(px(left), px(top), px(width), px(height));
}

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
