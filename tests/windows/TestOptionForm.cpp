#include "windows/OptionForm.h"

#include "widgets/MessageBox.h"

#include "RecordingShortcuts.h"
#include "TestMain.h"

#include <QAccessible>
#include <QCheckBox>
#include <QPushButton>

#include <cerrno>

using namespace Qt::StringLiterals;

using Failures = RecordingShortcuts::Failures;

class TestOptionForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shortcuts_data();
    void shortcuts();
    void everyOpeningStartsAfresh();
    void checkBoxesNamedByTheirCaptions();
};

void TestOptionForm::shortcuts_data()
{
    QTest::addColumn<bool>("desktop");
    QTest::addColumn<bool>("sendTo");
    QTest::addColumn<QString>("button");
    QTest::addColumn<Failures>("failing");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("message"); // the warning after OK, empty: none
    const QString desktop = uR"(..\..\desktop|Velto 1.6|/opt/velto/velto|)"_s;
    const QString sendTo = uR"(..\..\sendto|Velto 1.6|/opt/velto/velto|)"_s;
    const QString script = uR"(..\..\nautilus-scripts|Mit Velto umbenennen|/opt/velto/velto|)"_s;
    const Failures none;
    const Failures desktopFails{{uR"(..\..\desktop)"_s, ENOTDIR}};
    const Failures scriptFails{{uR"(..\..\nautilus-scripts)"_s, EACCES}};
    // The program's path cannot be written into an entry: all are refused.
    const Failures allFail{{uR"(..\..\desktop)"_s, EILSEQ},
                           {uR"(..\..\sendto)"_s, EILSEQ},
                           {uR"(..\..\nautilus-scripts)"_s, EILSEQ}};
    QTest::newRow("both, OK: desktop first")
        << true << true << u"OptBtn_0"_s << none << QStringList{desktop, sendTo, script} << QString();
    QTest::newRow("send-to only") << false << true << u"OptBtn_0"_s << none << QStringList{sendTo, script}
                                  << QString();
    QTest::newRow("the Nautilus script fails")
        << false << true << u"OptBtn_0"_s << scriptFails << QStringList{sendTo, script}
        << u"Folgende Verknüpfung ließ sich nicht anlegen:\n\n"
           u"/home/u/nautilus-scripts/Mit Velto umbenennen\n"
           u"Die Berechtigung zum Schreiben fehlt."_s;
    QTest::newRow("none, OK") << false << false << u"OptBtn_0"_s << none << QStringList{} << QString();
    QTest::newRow("both, Abbruch") << true << true << u"OptBtn_1"_s << allFail << QStringList{} << QString();
    // A failed desktop entry keeps neither the other one nor the user uninformed.
    QTest::newRow("desktop fails") << true << true << u"OptBtn_0"_s << desktopFails
                                   << QStringList{desktop, sendTo, script}
                                   << u"Folgende Verknüpfung ließ sich nicht anlegen:\n\n"
                                      u"/home/u/desktop/Velto 1.6.desktop\n"
                                      u"Wo der Ordner sein sollte, steht eine Datei."_s;
    const QString unwritablePath =
        u"Der Pfad des Programms enthält Zeichen, die sich in einer Verknüpfung nicht angeben lassen."_s;
    QTest::newRow("no program path, one warning")
        << true << true << u"OptBtn_0"_s << allFail << QStringList{desktop, sendTo, script}
        << u"Folgende Verknüpfung ließ sich nicht anlegen:\n\n/home/u/desktop/Velto 1.6.desktop\n"_s +
               unwritablePath +
               u"\n\nFolgende Verknüpfung ließ sich nicht anlegen:\n\n"
               u"/home/u/sendto/Velto 1.6.desktop\n"_s +
               unwritablePath +
               u"\n\nFolgende Verknüpfung ließ sich nicht anlegen:\n\n"
               u"/home/u/nautilus-scripts/Mit Velto umbenennen\n"_s +
               unwritablePath;
}

void TestOptionForm::shortcuts()
{
    QFETCH(bool, desktop);
    QFETCH(bool, sendTo);
    QFETCH(QString, button);
    QFETCH(Failures, failing);
    QFETCH(QStringList, calls);
    QFETCH(QString, message);
    RecordingShortcuts service;
    service.failing = failing;
    OptionForm form(service, u"/opt/velto/velto"_s);
    form.show();
    form.findChild<QCheckBox*>(u"ShortCutChk_0"_s)->setChecked(desktop);
    form.findChild<QCheckBox*>(u"ShortCutChk_1"_s)->setChecked(sendTo);
    const QString before = MessageBox::lastText();
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    QTest::mouseClick(form.findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(MessageBox::lastText(), message.isEmpty() ? before : message);
    MessageBox::setNextAnswer(MessageBox::Answer::None);
    QCOMPARE(service.calls, calls);
    QVERIFY(!form.isVisible());
}

void TestOptionForm::checkBoxesNamedByTheirCaptions()
{
    // As every other control: the caption without its access-key marker.
    RecordingShortcuts service;
    OptionForm form(service, u"/opt/velto/velto"_s);
    for (const QString& name : {u"ShortCutChk_0"_s, u"ShortCutChk_1"_s}) {
        auto* box = form.findChild<QCheckBox*>(name);
        const QString spoken = QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name);
        QCOMPARE(spoken, box->text().remove(u'&'));
    }
}

void TestOptionForm::everyOpeningStartsAfresh()
{
    RecordingShortcuts service;
    for (int opening = 0; opening < 2; ++opening) {
        OptionForm form(service, u"/opt/velto/velto"_s);
        QCOMPARE(form.windowTitle(), u"Velto 1.6 - Optionen"_s);
        QVERIFY(form.isModal());
        QVERIFY(!form.findChild<QCheckBox*>(u"ShortCutChk_0"_s)->isChecked());
        QVERIFY(!form.findChild<QCheckBox*>(u"ShortCutChk_1"_s)->isChecked());
        form.findChild<QCheckBox*>(u"ShortCutChk_0"_s)->setChecked(true);
        form.reject();
    }
    QVERIFY(service.calls.isEmpty());
}

VELTO_GUI_TEST_MAIN(TestOptionForm)
#include "TestOptionForm.moc"
