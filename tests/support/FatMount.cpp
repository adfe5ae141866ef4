#include "FatMount.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

bool runQuietly(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

FatMount::FatMount(const QString& root) : m_image(root + u"/fat.img"_s), m_mountPoint(root + u"/fat"_s)
{
    const QStringList sbin{u"/usr/sbin"_s, u"/sbin"_s, u"/usr/bin"_s, u"/bin"_s};
    const QString mkfs = QStandardPaths::findExecutable(u"mkfs.vfat"_s, sbin);
    const QString fusefat = QStandardPaths::findExecutable(u"fusefat"_s);
    m_fusermount = QStandardPaths::findExecutable(u"fusermount"_s);
    if (mkfs.isEmpty() || fusefat.isEmpty() || m_fusermount.isEmpty()) {
        m_why = u"mkfs.vfat, fusefat or fusermount is not installed"_s;
        return;
    }
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        m_why = u"/dev/fuse cannot be used here"_s;
        return;
    }
    QDir().mkpath(m_mountPoint);
    if (!runQuietly(mkfs, {u"-C"_s, m_image, u"16384"_s})) {
        m_why = u"mkfs.vfat failed"_s;
        return;
    }
    if (!runQuietly(fusefat, {u"-o"_s, u"rw+"_s, m_image, m_mountPoint})) {
        m_why = u"fusefat could not mount the image"_s;
        return;
    }
    m_mounted = true;
}

FatMount::~FatMount()
{
    if (m_mounted)
        runQuietly(m_fusermount, {u"-u"_s, m_mountPoint});
}
