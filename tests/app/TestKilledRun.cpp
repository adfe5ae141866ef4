#include "app/CandidateView.h"
#include "app/Form1.h"
#include "list/CandidateModel.h"
#include "widgets/MessageBox.h"

#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

// A real Velto process killed with SIGKILL in the middle of a run, then an undo after a new
// start: every file that was renamed gets its old name back.
class TestKilledRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void undoAfterKill();
};

void TestKilledRun::undoAfterKill()
{
    constexpr int Count = 20000;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList arguments;
    const QString folder = dir.path() + u'/';
    for (int i = 0; i < Count; ++i) {
        const QString path = folder + u"f%1.txt"_s.arg(i, 5, 10, QChar(u'0'));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        arguments.append(path);
    }
    // The run goes from the last row upwards; it stops with its question at the middle one.
    const QString removed = arguments.at(Count / 2);
    arguments.prepend(removed);

    QProcess velto;
    velto.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    velto.start(QStringLiteral(VELTO_RUN_TO_KILL), arguments);
    QVERIFY(velto.waitForStarted());
    QByteArray said;
    while (!said.contains("question") && !said.contains("finished") && velto.state() == QProcess::Running &&
           velto.waitForReadyRead(120000))
        said += velto.readAllStandardOutput();
    QVERIFY2(said.contains("question"), said.constData());
    velto.kill();
    QVERIFY(velto.waitForFinished());

    const QStringList renamed = QDir(folder).entryList({u"K_*"_s}, QDir::Files);
    QCOMPARE(renamed.size(), Count - 1 - Count / 2);

    // Started again, Ctrl+Z on the list, the question and the summary answered with OK.
    Form1 form({}, 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    QTest::keyClick(form.controls().Liste, Qt::Key_Z, Qt::ControlModifier);
    MessageBox::setNextAnswer(MessageBox::Answer::None);

    QStringList expected;
    for (int i = 0; i < Count; ++i) {
        if (i != Count / 2)
            expected.append(u"f%1.txt"_s.arg(i, 5, 10, QChar(u'0')));
    }
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
    // The files that went back are in the list, marked.
    QCOMPARE(form.model()->rowCount(), renamed.size());
    for (const CandidateRow& row : form.model()->rows())
        QVERIFY(row.Marked);
}

VELTO_GUI_TEST_MAIN(TestKilledRun)
#include "TestKilledRun.moc"
