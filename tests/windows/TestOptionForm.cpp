#include "windows/OptionForm.h"

#include "platform/ShortcutService.h"

#include "TestMain.h"

#include <QCheckBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// Remembers every call instead of writing anything.
class RecordingShortcuts final : public ShortcutService
{
public:
    QStringList calls;
    int fCreateShellLink(const QString& folder, const QString& linkName, const QString& target,
                         const QString& arguments) override
    {
        calls.append(QStringList{folder, linkName, target, arguments}.join(u'|'));
        return 1; // a failure, which must change nothing
    }
};

} // namespace

class TestOptionForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shortcuts_data();
    void shortcuts();
    void everyOpeningStartsAfresh();
};

void TestOptionForm::shortcuts_data()
{
    QTest::addColumn<bool>("desktop");
    QTest::addColumn<bool>("sendTo");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("calls");
    const QString desktop = uR"(..\..\desktop|Velto 1.6|/opt/velto/velto|)"_s;
    const QString sendTo = uR"(..\..\sendto|Velto 1.6|/opt/velto/velto|)"_s;
    QTest::newRow("both, OK: desktop first") << true << true << u"OptBtn_0"_s << QStringList{desktop, sendTo};
    QTest::newRow("send-to only") << false << true << u"OptBtn_0"_s << QStringList{sendTo};
    QTest::newRow("none, OK") << false << false << u"OptBtn_0"_s << QStringList{};
    QTest::newRow("both, Abbruch") << true << true << u"OptBtn_1"_s << QStringList{};
}

void TestOptionForm::shortcuts()
{
    QFETCH(bool, desktop);
    QFETCH(bool, sendTo);
    QFETCH(QString, button);
    QFETCH(QStringList, calls);
    RecordingShortcuts service;
    OptionForm form(service, u"/opt/velto/velto"_s);
    form.show();
    form.findChild<QCheckBox*>(u"ShortCutChk_0"_s)->setChecked(desktop);
    form.findChild<QCheckBox*>(u"ShortCutChk_1"_s)->setChecked(sendTo);
    QTest::mouseClick(form.findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(service.calls, calls);
    QVERIFY(!form.isVisible());
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
