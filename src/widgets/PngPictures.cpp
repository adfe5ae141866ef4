#include "widgets/PngPictures.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmapCache>
#include <QStringList>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// Where Qt keeps the pictures its styles draw from.
const QString Folder = u":/qt-project.org/styles/commonstyle/images/"_s;

// Writes `number` as QPixmap does in its keys: the bytes as they lie in memory, each as two
// hexadecimal digits, the low one first.
template <typename Number> void appendKeyHex(QString& key, Number number)
{
    static constexpr char16_t Digits[] = u"0123456789abcdef";
    const auto* bytes = reinterpret_cast<const unsigned char*>(&number);
    for (size_t i = 0; i < sizeof number; ++i) {
        key += QChar(Digits[bytes[i] & 0xf]);
        key += QChar(Digits[bytes[i] >> 4]);
    }
}

// The key under which QPixmap::load looks for `file` in QPixmapCache: its absolute path, the
// second of its last change and its size, and the kind of pixmap asked for (0, a pixmap rather
// than a bitmap).
QString pixmapKey(const QFileInfo& file)
{
    QString key = u"qt_pixmap"_s + file.absoluteFilePath();
    appendKeyHex(key, static_cast<quint32>(file.lastModified().toSecsSinceEpoch()));
    appendKeyHex(key, static_cast<quint64>(file.size()));
    appendKeyHex(key, quint32{0});
    return key;
}

// The pictures Qt's common style draws `which` from where no theme has it, in every size.
QStringList builtInPictures(QStyle::StandardPixmap which)
{
    switch (which) {
    case QStyle::SP_DialogSaveButton:
        return {Folder + u"standardbutton-save-16.png"_s, Folder + u"standardbutton-save-32.png"_s,
                Folder + u"standardbutton-save-128.png"_s};
    case QStyle::SP_LineEditClearButton:
        return {Folder + u"cleartext-16.png"_s};
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

QImage PngPictures::read(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon PngPictures::icon(const QStringList& paths)
{
    QIcon icon;
    for (const QString& path : paths) {
        const QImage picture = read(path);
        if (!picture.isNull())
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon;
}

QIcon PngPictures::standardIcon(QStyle::StandardPixmap which, const QWidget* widget)
{
    const QStyle* style = widget->style();
    if (!themeSet() && drawsBuiltInPictures(style)) {
        const QIcon icon = PngPictures::icon(builtInPictures(which));
        if (!icon.isNull())
            return icon;
    }
    return style->standardIcon(which, nullptr, widget);
}

QPixmap PngPictures::preloadGroupBoxFrame(const QWidget* widget)
{
    if (widget->style()->name() != u"fusion")
        return {};
    const QFileInfo file(Folder + u"fusion_groupbox.png"_s);
    if (!file.exists())
        return {};
    const QPixmap frame = QPixmap::fromImage(read(file.filePath()));
    if (!frame.isNull())
        QPixmapCache::insert(pixmapKey(file), frame);
    return frame;
}
