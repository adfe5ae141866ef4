#pragma once

#include <QIcon>
#include <QStyle>

class QWidget;

namespace StyleIcons {

// The icon `which` of `widget`'s style, as QStyle::standardIcon gives it.
//
// Without an icon theme, Qt's own styles draw these icons from pictures built into Qt. Handed
// over by file name, each picture is first shown to every image format plugin, which loads them
// all with their libraries, and the theme's folders are searched first: together as much time
// at the start as building the whole main window. Here those pictures are read as the PNG they
// are, and the theme is left alone when none is set.
QIcon standardIcon(QStyle::StandardPixmap which, const QWidget* widget);

} // namespace StyleIcons
