// Memory per row of the real window at its peak (VmHWM) and settled (VmRSS), for files taken in
// from the command line or dropped as a URI list, as a file manager drops them; the kernel caps
// a command line well below a million names, a drop has no such cap. Prints both figures per row
// above the names' text (old and new name in UTF-16), each against the same window before the
// files came. Runs on Qt's offscreen platform with a temporary home folder.
//   bench_window_memory <rows> [args|drop]
#include "app/CandidateView.h"
#include "app/Form1.h"
#include "platform/MemoryPolicy.h"
#include "BenchHome.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// kB of a line of /proc/self/status.
long statusKb(const char* key)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf(key);
    return at < 0 ? -1 : std::atol(text.constData() + at + std::strlen(key));
}

// Drop data as a platform's drag delivers it: the bytes, asked for when needed. QMimeData's own
// setData would turn a URI list into a list of QUrl objects first, which no real drop does.
class DroppedData final : public QMimeData
{
public:
    explicit DroppedData(QByteArray uris) : m_uris(std::move(uris)) {}
    QStringList formats() const override { return {u"text/uri-list"_s}; }
    bool hasFormat(const QString& type) const override { return type == u"text/uri-list"; }

protected:
    QVariant retrieveData(const QString& type, QMetaType) const override
    {
        return type == u"text/uri-list" ? QVariant(m_uris) : QVariant();
    }

private:
    QByteArray m_uris;
};

void settle()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const bool drop = argc > 2 && std::strcmp(argv[2], "drop") == 0;
    const BenchHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    MemoryPolicy::apply(); // as the program sets it
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    QTemporaryDir dir;
    QList<QByteArray> paths;
    qsizetype textBytes = 0;
    for (int i = 0; i < count; ++i) {
        const QString name = u"f%1.txt"_s.arg(i, 6, 10, QChar(u'0'));
        textBytes += 2 * 2 * name.size();
        paths.append(QFile::encodeName(dir.filePath(name)));
        const int fd = ::open(paths.constLast().constData(), O_CREAT | O_WRONLY, 0644);
        if (fd < 0)
            return 1;
        ::close(fd);
    }
    QByteArray uris;
    if (drop) {
        for (const QByteArray& path : paths)
            uris += "file://" + path.toPercentEncoding("/") + "\r\n";
    }
    // The base: the same window with no files, as the program started without any.
    long beforePeak = 0;
    long beforeSettled = 0;
    if (!drop) {
        Form1 empty;
        empty.show();
        settle();
        beforePeak = statusKb("VmHWM:");
        beforeSettled = statusKb("VmRSS:");
    }

    {
        Form1 window(drop ? QList<QByteArray>() : paths);
        window.show();
        settle();
        const long emptyPeak = statusKb("VmHWM:");
        const long emptySettled = statusKb("VmRSS:");
        if (drop) {
            auto* data = new DroppedData(std::move(uris));
            QWidget* target = window.findChild<CandidateView*>(u"Liste"_s)->viewport();
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            QDropEvent event(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
            delete data;
            settle();
        }
        const long peak = statusKb("VmHWM:");
        const long settled = statusKb("VmRSS:");
        // From the command line the rows came with the window: its own cost is in the figure.
        const long basePeak = drop ? emptyPeak : beforePeak;
        const long baseSettled = drop ? emptySettled : beforeSettled;
        const double perRowText = double(textBytes) / count;
        std::printf("%d rows (%s), name text %.0f B per row\n", count, drop ? "dropped" : "command line",
                    perRowText);
        std::printf("peak:    %.0f B per row above the text (%ld kB -> %ld kB)\n",
                    double(peak - basePeak) * 1024 / count - perRowText, basePeak, peak);
        std::printf("settled: %.0f B per row above the text (%ld kB -> %ld kB)\n",
                    double(settled - baseSettled) * 1024 / count - perRowText, baseSettled, settled);
    }
    return 0;
}
