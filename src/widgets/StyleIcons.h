#pragma once

#include <QIcon>
#include <QStyle>

class QWidget;

namespace StyleIcons {

// The icon `which` of `widget`'s style, as QStyle::standardIcon gives it.
//
// Without an icon theme, Qt's own styles draw these icons from pictures built into Qt, but only
// after searching the theme's folders and the system's pixmaps for them, which costs a start
// several milliseconds for the first icon. Here those pictures are read outright when no theme
// is set, as the PNG they are, without showing them to every image format plugin first.
QIcon standardIcon(QStyle::StandardPixmap which, const QWidget* widget);

} // namespace StyleIcons
