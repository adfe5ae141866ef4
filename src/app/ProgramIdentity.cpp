#include "app/ProgramIdentity.h"

#include "widgets/PngPictures.h"

#include <QApplication>

using namespace Qt::StringLiterals;

void ProgramIdentity::apply()
{
    QApplication::setApplicationName(u"Velto"_s);
    QApplication::setApplicationVersion(u"1.6"_s);
    // The menu entry and the software-centre listing go by this id; the desktop matches the
    // window to its entry through it.
    QApplication::setDesktopFileName(u"de.tollmark.Velto"_s);
    // The sizes window managers draw a window's own icon in: title bars, task lists, window
    // switchers. Larger views take the desktop entry's icon from the theme. Every size is
    // decoded and sent to the X server with each window, a 256-pixel one alone 2 to 3 ms of
    // the start.
    QStringList pictures;
    for (int size : {16, 32, 48, 64, 128})
        pictures.append(u":/icons/velto-%1.png"_s.arg(size));
    QApplication::setWindowIcon(PngPictures::icon(pictures));
}
