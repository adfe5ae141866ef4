#include "widgets/StyleIcons.h"

#include <QImageReader>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// The pictures Qt's common style draws `which` from where no theme has it, in every size.
QStringList builtInPictures(QStyle::StandardPixmap which)
{
    const QString folder = u":/qt-project.org/styles/commonstyle/images/"_s;
    switch (which) {
    case QStyle::SP_DialogSaveButton:
        return {folder + u"standardbutton-save-16.png"_s, folder + u"standardbutton-save-32.png"_s,
                folder + u"standardbutton-save-128.png"_s};
    case QStyle::SP_LineEditClearButton:
        return {folder + u"cleartext-16.png"_s};
    default:
        return {};
    }
}

// Whether `style` takes these icons from the theme and else from Qt's pictures: Qt's own styles.
// Another style may draw them itself.
bool drawsBuiltInPictures(const QStyle* style)
{
    const QString name = style->name();
    return name == u"fusion" || name == u"windows";
}

// "hicolor" is the theme all others fall back on. It holds applications' own icons, not the
// standard ones for actions, so with it alone a style draws its own pictures.
bool themeSet()
{
    const QString theme = QIcon::themeName();
    return !theme.isEmpty() && theme != u"hicolor";
}

} // namespace

QIcon StyleIcons::standardIcon(QStyle::StandardPixmap which, const QWidget* widget)
{
    const QStyle* style = widget->style();
    if (!themeSet() && drawsBuiltInPictures(style)) {
        QIcon icon;
        for (const QString& path : builtInPictures(which)) {
            QImageReader reader(path, "png");
            reader.setAutoDetectImageFormat(false);
            const QImage picture = reader.read();
            if (!picture.isNull())
                icon.addPixmap(QPixmap::fromImage(picture));
        }
        if (!icon.isNull())
            return icon;
    }
    return style->standardIcon(which, nullptr, widget);
}
