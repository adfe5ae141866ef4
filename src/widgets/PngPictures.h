#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <QStyle>

class QWidget;

// Pictures known to be PNG, read as such: the program's own and those Qt's styles draw from.
//
// Qt reads a picture by file name through QImageReader, which first shows it to every image
// format plugin installed, so that a plugin may take over a built-in format. The first such
// read loads all of them with their libraries (TIFF, WebP, MNG, colour management and more),
// 3 to 4 ms of a start, for pictures that are PNG and always were.
namespace PngPictures {

// The picture at `path`, or a null image where it is missing or not PNG.
QImage read(const QString& path);

// An icon of the pictures at `paths`, one size each; those missing are left out.
QIcon icon(const QStringList& paths);

// The icon `which` of `widget`'s style, as QStyle::standardIcon gives it.
//
// Without an icon theme, Qt's own styles draw these icons from pictures built into Qt, but only
// after searching the theme's folders and the system's pixmaps for them, which costs a start
// several milliseconds for the first icon. Here those pictures are read outright when no theme
// is set.
QIcon standardIcon(QStyle::StandardPixmap which, const QWidget* widget);

// Fusion draws the frame of every group box from a picture it loads by file name, where
// QPixmap looks in QPixmapCache first. Where `widget`'s style is Fusion, this reads that
// picture and puts it there, so that the first frame painted does not load every image
// plugin. Returns the picture put, or a null pixmap where the style draws no such picture.
//
// QPixmap's key for a file is not published; it is written here as Qt 6 writes it. Should it
// ever differ, the entry is never found and the frame is read as before: slower, not wrong.
QPixmap preloadGroupBoxFrame(const QWidget* widget);

} // namespace PngPictures
