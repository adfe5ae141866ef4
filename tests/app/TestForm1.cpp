#include "app/Form1.h"

#include "app/CandidateView.h"
#include "app/TokenButtons.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"
#include "windows/HelpForm.h"
#include "list/CandidateModel.h"
#include "platform/Beep.h"
#include "plan/RecentMasks.h"
#include "plan/RunJournal.h"
#include "platform/JournalFolder.h"
#include "platform/Settings.h"

#include "FullStore.h"
#include "InLanguage.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestRows.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QScrollBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTimer>
#include <QTemporaryDir>
#include <QUrl>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Language)

namespace {

void addLanguageRows()
{
    QTest::addColumn<Language>("language");
    QTest::newRow("German") << Language::German;
    QTest::newRow("English") << Language::English;
}

constexpr int Delay = 150;

// Makes the entries (TestFiles::create) and gives their paths.
QStringList createFiles(const QTemporaryDir& dir, const QStringList& names)
{
    QStringList paths;
    for (const QString& name : names) {
        if (!TestFiles::create(dir.path(), name))
            qFatal("cannot create the test entry %s", qPrintable(name));
        paths << dir.filePath(name);
    }
    return paths;
}

QList<QByteArray> toArguments(const QStringList& paths)
{
    QList<QByteArray> arguments;
    for (const QString& path : paths)
        arguments << QFile::encodeName(path);
    return arguments;
}

template <typename T> T* child(const QWidget& window, const QString& name)
{
    T* widget = window.findChild<T*>(name);
    if (!widget)
        qFatal("missing control %s", qPrintable(name));
    return widget;
}

QString message(const Form1& window)
{
    return child<QLabel>(window, u"Status_2"_s)->text();
}

QString countPanel(const Form1& window)
{
    return child<QLabel>(window, u"Status_1"_s)->text();
}

QStringList entries(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QStringList column(const Form1& window, int column)
{
    QStringList texts;
    const CandidateModel* model = window.model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

void drop(Form1& window, QMimeData* data)
{
    // A drop reaches only the widget that took the drag when it entered.
    QWidget* target = child<CandidateView>(window, u"Liste"_s)->viewport();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Files named by the arguments, in a window whose check has passed with the mask.
void readyToRename(Form1& window, const QString& mask)
{
    child<QLineEdit>(window, u"Maske"_s)->setText(mask);
    QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(window, u"Btn_8"_s)->isEnabled(), 5000);
}

enum class MenuBy
{
    RightClick,
    MenuKey,
    ShiftF10
};

// Opens the list's context menu as the user would; the platform turns the menu key into a
// context-menu event of the focused widget.
QMenu* openListMenu(Form1& window, MenuBy how = MenuBy::MenuKey)
{
    auto* liste = child<CandidateView>(window, u"Liste"_s);
    const QPoint at(5, 5);
    if (how == MenuBy::ShiftF10) {
        QTest::keyClick(liste, Qt::Key_F10, Qt::ShiftModifier);
    } else if (how == MenuBy::MenuKey) {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, liste->mapToGlobal(at));
        QApplication::sendEvent(liste, &event);
    } else {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, liste->viewport()->mapToGlobal(at));
        QApplication::sendEvent(liste->viewport(), &event);
    }
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || menu->objectName() != u"ListMenu")
        qFatal("the list's context menu did not open");
    return menu;
}

void chooseFromListMenu(Form1& window, const QString& item)
{
    QMenu* menu = openListMenu(window);
    QAction* action = child<QAction>(window, item);
    QVERIFY(menu->actions().contains(action));
    menu->close();
    action->trigger();
}

// Empty when the list's selection shows the marks of the rows on screen and no unmarked row,
// else the first row where it does not.
QString shownMarksDiffer(const CandidateView* liste, const CandidateModel* model)
{
    const int top = liste->indexAt(QPoint(0, 0)).row();
    const QModelIndex last = liste->indexAt(QPoint(0, liste->viewport()->height() - 1));
    const int bottom = last.isValid() ? last.row() : model->rowCount() - 1; // space below the end
    if (top < 0 || bottom < top)
        return u"no rows on screen"_s;
    for (int row = 0; row < model->rowCount(); ++row) {
        const bool selected = liste->selectionModel()->isRowSelected(row, QModelIndex());
        if (selected != model->rowAt(row).Marked && (selected || (row >= top && row <= bottom)))
            return u"mark and selection differ at row "_s + QString::number(row);
    }
    return {};
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void startupState();
    void captions_data();
    void captions();
    void controlsNamedAsTheyShow_data() { addLanguageRows(); }
    void controlsNamedAsTheyShow();
    void commandKeysAreUnique_data() { addLanguageRows(); }
    void commandKeysAreUnique();
    void speaksEnglish();
    void labelsNameTheirFields();
    void maskMenuListsTheLastThirtyRuns();
    void tabOrder();
    void tooltipsFromSettings();
    void commandLineIntake();
    void startHints();
    void drops_data();
    void drops();
    void listMenuItems_data();
    void listMenuItems();
    void marksLeaveTheList_data();
    void marksLeaveTheList();
    void filesAddedThroughTheDialog_data();
    void filesAddedThroughTheDialog();
    void keystrokesDelayOneCheck();
    void digitChoiceLastsUntilDelayedCheck();
    void leadZeroChoiceAppliesAtOnce();
    void counterFieldsTakeDigitsOnly();
    void counterFieldsNormalised_data();
    void counterFieldsNormalised();
    void focusSelectsOptionTexts();
    void regexBoxRechecks();
    void tokenButtonsInsertAtTheSelection();
    void maskErrorInMessagePanel();
    void failingRowsAreShown();
    void headerClicksSortByValue();
    void fileValuesFromTheHelper();
    void escStopsTheReading();
    void markedRowsMove();
    void renameRun();
    void altURenames_data();
    void altURenames();
    void renameFailureAnswered_data();
    void renameFailureAnswered();
    void failedRowsStayOneMarkedRange();
    void undoOfTheLastRun();
    void recentMaskMenu();
    void unwritableStoreDoesNotStopTheRun();
    void qtOptionsAreFiles();
    void noDisplayIsSaidInOneLine_data();
    void noDisplayIsSaidInOneLine();
    void helpWindowOpensOnce();
    void sortKeepsMarksCurrentRowAndScrolling();
    void marksFollowMouseKeysAndScrolling();
    void windowRoles();

private:
    QTemporaryDir m_dir;
};

void TestForm1::init()
{
    Translations::install(Language::German);
    Beep::setObserver({});
    QFile::remove(QSettings(QSettings::IniFormat, QSettings::UserScope, u"Tollmark"_s).fileName());
    Settings().WriteSetting(u"ToolTips"_s, u"0"_s);
    QDir(JournalFolder::defaultFolder()).removeRecursively();
}

void TestForm1::startupState()
{
    Form1 window;
    QCOMPARE(window.windowTitle(), u"Velto 1.6"_s);
    QCOMPARE(child<QLineEdit>(window, u"Zahl"_s)->text(), u"1"_s);
    QCOMPARE(child<QLineEdit>(window, u"Schrittweite"_s)->text(), u"1"_s);
    QCOMPARE(child<QLineEdit>(window, u"Maske"_s)->text(), u"[NAME][TYP]"_s);
    QCOMPARE(child<QLineEdit>(window, u"SucheText"_s)->text(), QString());
    auto* letterCase = child<QComboBox>(window, u"Schreibweise"_s);
    QCOMPARE(entries(letterCase),
             (QStringList{u"beibehalten"_s, u"alles groß"_s, u"alles klein"_s, u"anfangs groß"_s}));
    QCOMPARE(letterCase->currentIndex(), 0);
    auto* leadZeros = child<QComboBox>(window, u"Vornullenzeichen"_s);
    QCOMPARE(entries(leadZeros), (QStringList{u"keine"_s, u"Null"_s, u"Leerzeichen"_s, u"Unterstrich"_s}));
    QCOMPARE(leadZeros->currentIndex(), 0);
    // An empty list's last counter value is 1 - 1 = 0: one digit.
    auto* digits = child<QComboBox>(window, u"StellenAnzahl"_s);
    QCOMPARE(digits->count(), 12);
    QCOMPARE(digits->itemText(11), u"12"_s);
    QCOMPARE(digits->currentText(), u"1"_s);
    QCOMPARE(window.digitsText(), u"1"_s);
    QCOMPARE(window.model()->rowCount(), 0);
    QCOMPARE(countPanel(window), u"0 von 0 Dateien markiert"_s);
    QCOMPARE(message(window), QString());
    QVERIFY(!child<QPushButton>(window, u"Btn_8"_s)->isEnabled());
    QVERIFY(!child<QPushButton>(window, u"Btn_12"_s)->isEnabled());
    QVERIFY(!child<QPushButton>(window, u"Btn_13"_s)->isEnabled());
    QVERIFY(!child<QCheckBox>(window, u"ToolTipCheck"_s)->isChecked());
    QCOMPARE(child<QPushButton>(window, u"Btn_4"_s)->toolTip(), QString());
    // Fixed, and never below the size it was drawn with; a wide font makes it larger.
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(window.width() >= 625 && window.height() >= 418);
}

void TestForm1::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const std::pair<const char*, const char16_t*> expected[] = {{"Btn_0", u"Liste l&öschen"},
                                                                {"Btn_1", u"&Alle auswählen"},
                                                                {"Btn_2", u"&Keine Auswahl"},
                                                                {"Btn_3", u"Aus&wahl umkehren"},
                                                                {"Btn_4", u"[&name]"},
                                                                {"Btn_5", u"[&typ]"},
                                                                {"Btn_6", u"[&zahl]"},
                                                                {"Btn_7", u"[&s]"},
                                                                {"Btn_8", u"&Umtaufen!"},
                                                                {"Btn_9", u"&Ende"},
                                                                {"Btn_10", u"&Hilfe"},
                                                                {"Btn_14", u"&Optionen"},
                                                                {"Btn_15", u"[&jahr]"},
                                                                {"Btn_16", u"[&monat]"},
                                                                {"Btn_17", u"[&tag]"},
                                                                {"Btn_18", u"[&rdatum]"},
                                                                {"Btn_19", u"[&datum]"},
                                                                {"Btn_20", u"[&m]"},
                                                                {"Btn_21", u"[h]"},
                                                                {"Btn_22", u"[&zeit]"},
                                                                {"Btn_23", u"[ ]"},
                                                                {"Label1_0", u"Start bei"},
                                                                {"Label1_1", u"Vornullen"},
                                                                {"Label1_2", u"Schrittweite"},
                                                                {"Label1_3", u"Länge"},
                                                                {"Label1_4", u"Ersetze"},
                                                                {"Label1_5", u"durch"},
                                                                {"Frame1", u"Kandidaten zum Umbenennen"},
                                                                {"Frame2", u"Maske"},
                                                                {"Frame3", u"Zähler"},
                                                                {"Frame4_0", u"Schreibweise"},
                                                                {"Frame4_1", u"Suchen && ersetzen"},
                                                                {"ToolTipCheck", u"ToolTips"},
                                                                {"DirItCheck", u"Dir-It!"},
                                                                {"RegexCheck", u"Re&gulärer Ausdruck"}};
    for (const auto& [name, caption] : expected)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf16(caption);
}

void TestForm1::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Form1 window;
    QObject* control = window.findChild<QObject*>(name);
    QVERIFY2(control, qPrintable(name));
    const QString text = control->property("text").isValid() ? control->property("text").toString()
                                                             : control->property("title").toString();
    QCOMPARE(text, caption);
}

// A screen reader names a control by what the eye reads for it: its own caption, else the
// label that is its buddy, else the frame it sits in. A button that shows an icon or a single
// sign, and the progress bar, show no words: their names say what they mean instead.
void TestForm1::controlsNamedAsTheyShow()
{
    QFETCH(Language, language);
    const InLanguage shown(language);
    Form1 window;
    const auto plain = [](QString text) { return text.remove(u'&'); };
    QHash<const QWidget*, QString> labels;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->buddy())
            labels.insert(label->buddy(), plain(label->text()));
    }
    QStringList wrong;
    int controls = 0;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        const bool bar = qobject_cast<const QProgressBar*>(control);
        if (control->objectName().isEmpty() || (!(control->focusPolicy() & Qt::TabFocus) && !bar))
            continue;
        ++controls;
        const QString name = control->accessibleName();
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        const QString caption = button ? plain(button->text()) : QString();
        QString shown;
        if (caption.size() > 1) {
            shown = caption;
        } else if (button || bar) {
            if (name.isEmpty() || name == caption)
                wrong << u"%1 is named \"%2\" for the sign \"%3\""_s.arg(control->objectName(), name,
                                                                         caption);
            continue;
        } else if (labels.contains(control)) {
            shown = labels.value(control);
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(control->parentWidget())) {
            shown = plain(frame->title());
        }
        if (shown.isEmpty() || name != shown)
            wrong << u"%1 is named \"%2\", shows \"%3\""_s.arg(control->objectName(), name, shown);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u"; "_s)));
    // The stops of the Tab key and the progress bar.
    QCOMPARE(controls, 38);
}

// Alt and a command's letter runs the command only while no other control has that letter;
// else Qt moves the focus between them. Token buttons may share one among themselves.
void TestForm1::commandKeysAreUnique()
{
    QFETCH(Language, language);
    const InLanguage shown(language);
    Form1 window;
    QMultiHash<QKeySequence, QString> owners;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        QString caption;
        if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            caption = button->text();
        else if (const auto* frame = qobject_cast<const QGroupBox*>(control))
            caption = frame->title();
        else if (const auto* label = qobject_cast<const QLabel*>(control); label && label->buddy())
            caption = label->text();
        if (const QKeySequence key = QKeySequence::mnemonic(caption); !key.isEmpty())
            owners.insert(key, control->objectName());
    }
    QSet<QString> tokens;
    for (const TokenButton& token : TokenButtons)
        tokens.insert(u"Btn_%1"_s.arg(token.index));
    int commands = 0;
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        const QKeySequence key = QKeySequence::mnemonic(button->text());
        if (key.isEmpty() || tokens.contains(button->objectName()))
            continue;
        ++commands;
        const QStringList sharing = owners.values(key);
        QVERIFY2(sharing == QStringList{button->objectName()}, qPrintable(sharing.join(u", "_s)));
    }
    QCOMPARE(commands, 8);
}

// The window in English: its captions, the check's messages, a mask error and the question a
// failed rename asks. The mask's tokens keep their German names.
void TestForm1::speaksEnglish()
{
    const InLanguage english(Language::English);
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s, u"b.txt"_s, u"c.doc"_s})), Delay);
    QCOMPARE(child<QPushButton>(window, u"Btn_8"_s)->text(), u"Re&name!"_s);
    QCOMPARE(child<QGroupBox>(window, u"Frame1"_s)->title(), u"Files to rename"_s);
    QCOMPARE(child<QPushButton>(window, u"Btn_4"_s)->text(), u"[nam&e]"_s);
    QCOMPARE(entries(child<QComboBox>(window, u"Vornullenzeichen"_s)),
             (QStringList{u"none"_s, u"zero"_s, u"space"_s, u"underscore"_s}));
    QCOMPARE(window.model()->headerData(CandidateModel::ColDate, Qt::Horizontal).toString(),
             u"Last change"_s);
    QCOMPARE(countPanel(window), u"3 of 3 files marked"_s);
    QCOMPARE(message(window), u"To rename the files, click the button 'Rename!' now."_s);

    auto* mask = child<QLineEdit>(window, u"Maske"_s);
    mask->setText(u"x[3-5"_s);
    QTRY_COMPARE_WITH_TIMEOUT(message(window), u"Error: A closing bracket is missing."_s, 5000);
    mask->setText(u"x[TYP]"_s);
    QTRY_COMPARE_WITH_TIMEOUT(message(window),
                              u"Error: The new file names are not all unique - check the mask!"_s, 5000);
    QCOMPARE(window.model()->index(0, CandidateModel::ColNewName).data(Qt::ToolTipRole).toString(),
             u"Name occurs more than once"_s);

    // A file takes the second name after the check: the run asks whether to go on.
    readyToRename(window, u"x[ZAHL][TYP]"_s);
    QVERIFY(createFiles(dir, {u"x2.txt"_s}).size() == 1);
    MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
    QTest::mouseClick(child<QPushButton>(window, u"Btn_8"_s), Qt::LeftButton);
    const QStringList question = MessageBox::lastText().split(u'\n');
    QCOMPARE(question.first(), u"The following file could not be renamed:"_s);
    QCOMPARE(question.last(), u"Click 'OK' to go on, or 'Cancel' to stop."_s);
    QCOMPARE(message(window), u"Error: Some new names clash with those of existing files!"_s);
}

void TestForm1::labelsNameTheirFields()
{
    Form1 window;
    const std::pair<const char16_t*, const char16_t*> pairs[] = {
        {u"Label1_0", u"Zahl"},          {u"Label1_2", u"Schrittweite"},
        {u"Label1_3", u"StellenAnzahl"}, {u"Label1_1", u"Vornullenzeichen"},
        {u"Label1_4", u"SucheText"},     {u"Label1_5", u"ErsetzeText"}};
    for (const auto& [label, field] : pairs) {
        auto* text = child<QLabel>(window, QString::fromUtf16(label));
        QCOMPARE(text->buddy(), child<QWidget>(window, QString::fromUtf16(field)));
        QVERIFY(text->alignment() & Qt::AlignRight);
    }
    QCOMPARE(child<QLabel>(window, u"Status_1"_s)->accessibleDescription(), u"Dateianzahl"_s);
    QCOMPARE(child<QLabel>(window, u"Status_2"_s)->accessibleDescription(), u"Programmstatus"_s);
}

// The disk button's menu lists the masks of the last 30 runs, the newest first, then a line
// and "Abbrechen"; before any run it offers the mask a window starts with.
void TestForm1::maskMenuListsTheLastThirtyRuns()
{
    // The shown items; a separator as "-", with its text should a style print one beside the line.
    const auto shown = [](Form1& window) {
        QTest::mouseClick(child<QPushButton>(window, u"Btn_24"_s), Qt::LeftButton);
        auto* menu = child<QMenu>(window, u"pummain"_s);
        QStringList texts;
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
            return texts;
        const QList<QAction*> items = menu->actions();
        for (qsizetype i = 0; i < items.size(); ++i) {
            // Named by their place, for tools that look an item up.
            if (items[i]->objectName() != u"pum_"_s + QString::number(i + 1))
                texts << u"misnamed "_s + items[i]->objectName();
            if (items[i]->isVisible())
                texts << (items[i]->isSeparator() ? u"-"_s + items[i]->text() : items[i]->text());
        }
        menu->hide();
        return texts;
    };
    {
        Form1 window;
        QCOMPARE(shown(window), (QStringList{u"[NAME][TYP]"_s, u"-"_s, u"Abbrechen"_s}));
    }
    Settings store;
    RecentMasks recent(store);
    QStringList newestFirst;
    for (int run = 1; run <= 31; ++run) {
        RenameSettings scenario;
        scenario.Maske = u"m"_s + QString::number(run);
        QVERIFY(recent.save(scenario));
        newestFirst.prepend(scenario.Maske);
    }
    Form1 window;
    QCOMPARE(shown(window), newestFirst.mid(0, 30) + QStringList({u"-"_s, u"Abbrechen"_s}));
}

void TestForm1::tabOrder()
{
    Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget()->objectName(), u"Liste"_s);
    const QStringList expected{u"Liste"_s,
                               u"Btn_13"_s,
                               u"Btn_12"_s,
                               u"Btn_1"_s,
                               u"Btn_2"_s,
                               u"Btn_3"_s,
                               u"Btn_0"_s,
                               u"Zahl"_s,
                               u"Schrittweite"_s,
                               u"StellenAnzahl"_s,
                               u"Vornullenzeichen"_s,
                               u"Schreibweise"_s,
                               u"SucheText"_s,
                               u"ErsetzeText"_s,
                               u"RegexCheck"_s,
                               u"Maske"_s,
                               u"Btn_24"_s,
                               u"Btn_11"_s,
                               u"Btn_4"_s,
                               u"Btn_5"_s,
                               u"Btn_6"_s,
                               u"Btn_19"_s,
                               u"Btn_18"_s,
                               u"Btn_22"_s,
                               u"Btn_17"_s,
                               u"Btn_16"_s,
                               u"Btn_15"_s,
                               u"Btn_21"_s,
                               u"Btn_20"_s,
                               u"Btn_7"_s,
                               u"Btn_23"_s,
                               u"Btn_10"_s,
                               u"Btn_14"_s,
                               u"Btn_8"_s,
                               u"Btn_9"_s,
                               u"ToolTipCheck"_s,
                               u"DirItCheck"_s};
    // The chain holds every control, also those that are disabled at the moment.
    QStringList chain;
    QWidget* start = child<QWidget>(window, u"Liste"_s);
    QWidget* w = start;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start && chain.size() <= expected.size());
    QCOMPARE(chain, expected);

    // Real Tab presses from the list reach the first enabled button.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"Btn_1"_s);
}

void TestForm1::tooltipsFromSettings()
{
    Settings().WriteSetting(u"ToolTips"_s, u"1"_s);
    {
        Form1 window;
        auto* box = child<QCheckBox>(window, u"ToolTipCheck"_s);
        QVERIFY(box->isChecked());
        QCOMPARE(child<QPushButton>(window, u"Btn_7"_s)->toolTip(),
                 u"Fügt das Token [S] (entspricht [SEKUNDE]) in die Maske ein"_s);
        QCOMPARE(child<QWidget>(window, u"Liste"_s)->toolTip(),
                 u"Namen der umzubenennenden Dateien in diese Liste ziehen"_s);
        QCOMPARE(child<QWidget>(window, u"Maske"_s)->toolTip(), QString());
        QCOMPARE(
            child<QCheckBox>(window, u"RegexCheck"_s)->toolTip(),
            u"'Ersetze' ist ein regulärer Ausdruck; in 'durch' steht \\1 oder $1 für die erste Gruppe."_s);
        box->setChecked(false);
        QCOMPARE(child<QCheckBox>(window, u"RegexCheck"_s)->toolTip(), QString());
        QCOMPARE(Settings().ReadSetting(u"ToolTips"_s, u"?"_s), u"0"_s);
        QCOMPARE(child<QPushButton>(window, u"Btn_7"_s)->toolTip(), QString());
        QCOMPARE(child<QWidget>(window, u"Liste"_s)->toolTip(), QString());
    }
    Form1 second;
    QVERIFY(!child<QCheckBox>(second, u"ToolTipCheck"_s)->isChecked());
}

void TestForm1::commandLineIntake()
{
    QTemporaryDir dir;
    QStringList paths = createFiles(dir, {u"IMG_10.jpg"_s, u"IMG_2.jpg"_s, u"b c.txt"_s, u"Ordner/"_s});
    paths << paths[0] << dir.filePath(u"fehlt.txt"_s) << QString();
    Form1 window(toArguments(paths), Delay);

    QCOMPARE(column(window, CandidateModel::ColOldName),
             (QStringList{u"b c.txt"_s, u"IMG_2.jpg"_s, u"IMG_10.jpg"_s}));
    QCOMPARE(column(window, CandidateModel::ColNewName),
             (QStringList{u"b c.txt"_s, u"IMG_2.jpg"_s, u"IMG_10.jpg"_s}));
    QCOMPARE(child<CandidateView>(window, u"Liste"_s)->selectionModel()->selectedRows().size(), 3);
    QCOMPARE(countPanel(window), u"3 von 3 Dateien markiert"_s);
    QCOMPARE(message(window),
             u"Zum Umbenennen der Dateien klicken Sie jetzt die Schaltfläche 'Umtaufen!'."_s);
    QVERIFY(child<QPushButton>(window, u"Btn_8"_s)->isEnabled());
    QCOMPARE(child<QProgressBar>(window, u"Bar"_s)->value(), 0);
}

// Told once the first check is shown: a settings file that is not used, and paths skipped for
// names that are no UTF-8.
void TestForm1::startHints()
{
    const QString store = QSettings(QSettings::IniFormat, QSettings::UserScope, u"Tollmark"_s).fileName();
    QFile file(store);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(Settings::MaxBytes + 1));
    file.close();
    QTemporaryDir dir;
    QList<QByteArray> arguments = toArguments(createFiles(dir, {u"a.txt"_s}));
    arguments << QFile::encodeName(dir.path()) + "/\xfc" << QFile::encodeName(dir.path()) + "/\xe4.txt";
    Form1 window(arguments, Delay);
    QCOMPARE(window.model()->rowCount(), 1);
    QCOMPARE(message(window),
             u"Hinweis: Die Einstellungsdatei ist zu groß und wird nicht verwendet. "
             u"Hinweis: 2 Pfade wurden übergangen, weil ihr Name kein gültiges UTF-8 ist."_s);
    QFile::remove(store);
}

void TestForm1::drops_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("asText");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("beeps");
    QTest::newRow("files") << QStringList{u"a.txt"_s, u"b.txt"_s} << false << 2 << 0;
    QTest::newRow("a folder among files")
        << QStringList{u"a.txt"_s, u"Ordner/"_s, u"b.txt"_s} << false << 2 << 0;
    QTest::newRow("plain text") << QStringList{u"a.txt"_s} << true << 0 << 1;
}

void TestForm1::drops()
{
    QFETCH(QStringList, files);
    QFETCH(bool, asText);
    QFETCH(int, rows);
    QFETCH(int, beeps);
    int beeped = 0;
    Beep::setObserver([&beeped] { ++beeped; });

    QTemporaryDir dir;
    const QStringList paths = createFiles(dir, files);
    Form1 window({}, Delay);
    auto* data = new QMimeData;
    if (asText) {
        data->setText(paths.join(u'\n'));
    } else {
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
    }
    drop(window, data);
    delete data;
    QCOMPARE(window.model()->rowCount(), rows);
    QCOMPARE(beeped, beeps);
    if (rows > 0)
        QCOMPARE(countPanel(window),
                 QString::number(rows) + u" von "_s + QString::number(rows) + u" Dateien markiert"_s);
}

void TestForm1::listMenuItems_data()
{
    QTest::addColumn<MenuBy>("how");
    QTest::newRow("right click") << MenuBy::RightClick;
    QTest::newRow("menu key") << MenuBy::MenuKey;
    QTest::newRow("Shift+F10") << MenuBy::ShiftF10;
}

void TestForm1::listMenuItems()
{
    QFETCH(MenuBy, how);
    Form1 window({}, Delay);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QMenu* menu = openListMenu(window, how);
    const QList<QAction*> items = menu->actions();
    QCOMPARE(items.size(), 4);
    QVERIFY(items[2]->isSeparator());
    const QStringList captions{u"&Dateien hinzufügen ..."_s, u"Aus der Liste &nehmen"_s, QString(),
                               u"Letzte Umbenennung &rückgängig machen"_s};
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(menu);
    for (int i : {0, 1, 3}) {
        QCOMPARE(items[i]->text(), captions[i]);
        QCOMPARE(accessible->child(i)->text(QAccessible::Name), QString(captions[i]).remove(u'&'));
    }
    QVERIFY(items[0]->isEnabled() && items[1]->isEnabled());
    // Nothing was renamed yet: nothing to take back.
    QVERIFY(!items[3]->isEnabled());
    QCOMPARE(items[3]->shortcut().toString(QKeySequence::NativeText), u"Strg+Z"_s);
    QVERIFY(items[3]->isShortcutVisibleInContextMenu());
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
}

void TestForm1::marksLeaveTheList_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Delete key") << true;
    QTest::newRow("menu item") << false;
}

void TestForm1::marksLeaveTheList()
{
    QFETCH(bool, byKey);
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s})), Delay);
    auto* liste = child<CandidateView>(window, u"Liste"_s);
    liste->selectionModel()->select(window.model()->index(1, 0),
                                    QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    QSignalSpy checks(&window, &Form1::checkFinished);
    if (byKey)
        QTest::keyClick(liste, Qt::Key_Delete);
    else
        chooseFromListMenu(window, u"ListMenu_Remove"_s);
    QCOMPARE(column(window, CandidateModel::ColOldName), QStringList{u"b.txt"_s});
    QCOMPARE(checks.count(), 1);
    QCOMPARE(countPanel(window), u"0 von 1 Dateien markiert"_s);
    QCOMPARE(TestFiles::entryNames(dir.path()), (QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}));
    // No marked row left: nothing happens.
    QTest::keyClick(liste, Qt::Key_Delete);
    QCOMPARE(window.model()->rowCount(), 1);
}

void TestForm1::filesAddedThroughTheDialog_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("count");
    QTest::newRow("files") << QStringList{u"b.txt"_s, u"c.txt"_s}
                           << QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}
                           << u"2 von 3 Dateien markiert"_s;
    // The skips of a drop: folders, missing paths, rows already listed.
    QTest::newRow("skips") << QStringList{u"Ordner"_s, u"fehlt.txt"_s, u"a.txt"_s, u"c.txt"_s}
                           << QStringList{u"a.txt"_s, u"c.txt"_s} << u"1 von 2 Dateien markiert"_s;
    QTest::newRow("cancelled") << QStringList{} << QStringList{u"a.txt"_s} << u"0 von 1 Dateien markiert"_s;
}

void TestForm1::filesAddedThroughTheDialog()
{
    QFETCH(QStringList, chosen);
    QFETCH(QStringList, rows);
    QFETCH(QString, count);
    QTemporaryDir dir;
    createFiles(dir, {u"b.txt"_s, u"c.txt"_s, u"Ordner/"_s});
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s})), Delay);
    child<QPushButton>(window, u"Btn_2"_s)->click();
    QStringList paths;
    for (const QString& name : chosen)
        paths << dir.filePath(name);
    FileDialog::setNextFiles(paths);
    chooseFromListMenu(window, u"ListMenu_AddFiles"_s);
    QCOMPARE(column(window, CandidateModel::ColOldName), rows);
    QCOMPARE(countPanel(window), count);
}

void TestForm1::keystrokesDelayOneCheck()
{
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s, u"b.txt"_s})), Delay);
    auto* rename = child<QPushButton>(window, u"Btn_8"_s);
    auto* mask = child<QLineEdit>(window, u"Maske"_s);
    QVERIFY(rename->isEnabled());
    QSignalSpy checks(&window, &Form1::checkFinished);

    mask->selectAll();
    QTest::keyClick(mask, Qt::Key_U);
    QVERIFY(!rename->isEnabled());
    QTest::keyClicks(mask, u"_[zahl][typ]"_s);
    QCOMPARE(checks.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(checks.count(), 1, 5000);
    QTest::qWait(Delay * 3);
    QCOMPARE(checks.count(), 1);
    QVERIFY(rename->isEnabled());
    QCOMPARE(column(window, CandidateModel::ColNewName), (QStringList{u"u_1.txt"_s, u"u_2.txt"_s}));
}

void TestForm1::digitChoiceLastsUntilDelayedCheck()
{
    QTemporaryDir dir;
    QStringList names;
    for (int i = 0; i < 25; ++i)
        names << u"f"_s + QString::number(i) + u".txt"_s;
    Form1 window(toArguments(createFiles(dir, names)), Delay);
    child<QLineEdit>(window, u"Schrittweite"_s)->setText(u"4"_s);
    auto* digits = child<QComboBox>(window, u"StellenAnzahl"_s);
    // The last counter value of 25 rows with start 1 and step 4 is 97.
    QTRY_COMPARE_WITH_TIMEOUT(digits->currentText(), u"2"_s, 5000);
    QCOMPARE(entries(digits).first(), u"2"_s);
    QCOMPARE(entries(digits).last(), u"12"_s);
    QCOMPARE(digits->count(), 11);

    child<QLineEdit>(window, u"Maske"_s)->setText(u"[ZAHL]"_s);
    child<QComboBox>(window, u"Vornullenzeichen"_s)->setCurrentIndex(1);
    digits->setCurrentIndex(digits->findText(u"4"_s));
    QCOMPARE(window.digitsText(), u"4"_s);
    QCOMPARE(column(window, CandidateModel::ColNewName).first(), u"0001"_s);
    QCOMPARE(digits->currentText(), u"4"_s);
    // The mask edit's delayed check rebuilds the choices and returns to the smallest entry.
    QTRY_COMPARE_WITH_TIMEOUT(digits->currentText(), u"2"_s, 5000);
    QCOMPARE(column(window, CandidateModel::ColNewName).first(), u"01"_s);
}

void TestForm1::leadZeroChoiceAppliesAtOnce()
{
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s, u"b.txt"_s})), Delay);
    child<QLineEdit>(window, u"Maske"_s)->setText(u"x[ZAHL]"_s);
    QTRY_COMPARE_WITH_TIMEOUT(column(window, CandidateModel::ColNewName).first(), u"x1"_s, 5000);
    auto* digits = child<QComboBox>(window, u"StellenAnzahl"_s);
    digits->setCurrentIndex(digits->findText(u"3"_s));
    QCOMPARE(column(window, CandidateModel::ColNewName).first(), u"x1"_s); // no fill character yet
    child<QComboBox>(window, u"Vornullenzeichen"_s)->setCurrentIndex(3);
    QCOMPARE(window.leadZeroChar(), u"_"_s);
    QCOMPARE(digits->currentText(), u"3"_s);
    QCOMPARE(column(window, CandidateModel::ColNewName), (QStringList{u"x__1"_s, u"x__2"_s}));
}

void TestForm1::counterFieldsTakeDigitsOnly()
{
    Form1 window({}, Delay);
    for (const char16_t* name : {u"Zahl", u"Schrittweite"}) {
        auto* field = child<QLineEdit>(window, QString::fromUtf16(name));
        field->clear();
        QTest::keyClicks(field, u"1a-. 2x"_s);
        QCOMPARE(field->text(), u"12"_s);
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text(), u"1"_s);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->text(), u"1"_s);
    }
}

void TestForm1::counterFieldsNormalised_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << QString() << u"0"_s;
    QTest::newRow("leading zeros") << u"007"_s << u"7"_s;
    QTest::newRow("trailing letters") << u"  12abc"_s << u"12"_s;
    QTest::newRow("negative") << u"-5"_s << u"5"_s;
    QTest::newRow("fraction") << u"3.9"_s << u"3"_s;
    QTest::newRow("too long for the field") << u"99999999999"_s << u"99999999"_s;
}

void TestForm1::counterFieldsNormalised()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    Form1 window({}, Delay);
    auto* field = child<QLineEdit>(window, u"Zahl"_s);
    field->setText(text);
    QTRY_COMPARE_WITH_TIMEOUT(field->text(), shown, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(window.startValue(), shown.toInt(), 5000);
}

void TestForm1::focusSelectsOptionTexts()
{
    Form1 window({}, Delay);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    child<QLineEdit>(window, u"SucheText"_s)->setText(u"abc"_s);
    auto* mask = child<QLineEdit>(window, u"Maske"_s);
    for (const char16_t* name : {u"Zahl", u"Schrittweite", u"SucheText", u"ErsetzeText"}) {
        auto* field = child<QLineEdit>(window, QString::fromUtf16(name));
        field->deselect();
        field->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(field->selectedText(), field->text());
    }
    mask->setCursorPosition(3);
    child<QWidget>(window, u"RegexCheck"_s)->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), mask);
    QVERIFY(!mask->hasSelectedText());
    QCOMPARE(mask->cursorPosition(), 3);
}

void TestForm1::regexBoxRechecks()
{
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"2025-01-22_Rechnung.pdf"_s, u"IMG_12.jpg"_s})), Delay);
    auto* box = child<QCheckBox>(window, u"RegexCheck"_s);
    QVERIFY(!box->isChecked());
    child<QLineEdit>(window, u"SucheText"_s)->setText(u"^(\\d{4})-(\\d\\d)-(\\d\\d)_(.+)$"_s);
    child<QLineEdit>(window, u"ErsetzeText"_s)->setText(u"\\4_\\1-\\2-\\3"_s);
    auto* rename = child<QPushButton>(window, u"Btn_8"_s);
    QTRY_VERIFY(rename->isEnabled());
    const QStringList oldNames = column(window, CandidateModel::ColOldName);
    QCOMPARE(column(window, CandidateModel::ColNewName), oldNames);

    box->setChecked(true);
    QVERIFY(!rename->isEnabled());
    QTRY_COMPARE(column(window, CandidateModel::ColNewName).join(u'|'),
                 oldNames.join(u'|').replace(u"2025-01-22_Rechnung"_s, u"Rechnung_2025-01-22"_s));
    QVERIFY(rename->isEnabled());
}

void TestForm1::tokenButtonsInsertAtTheSelection()
{
    Form1 window({}, Delay);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* mask = child<QLineEdit>(window, u"Maske"_s);
    mask->setText(u"Dat_[ZAHL]"_s);
    mask->setFocus();
    mask->setSelection(0, 3);
    QTest::mouseClick(child<QPushButton>(window, u"Btn_19"_s), Qt::LeftButton);
    QCOMPARE(mask->text(), u"[DATUM]_[ZAHL]"_s);
    QCOMPARE(mask->cursorPosition(), 7);
    QCOMPARE(QApplication::focusWidget(), mask);

    mask->clear();
    QTest::mouseClick(child<QPushButton>(window, u"Btn_23"_s), Qt::LeftButton);
    QCOMPARE(mask->text(), u"[]"_s);
    QCOMPARE(mask->cursorPosition(), 1);
}

void TestForm1::maskErrorInMessagePanel()
{
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s})), Delay);
    child<QLineEdit>(window, u"Maske"_s)->setText(u"x[3-5"_s);
    QTRY_COMPARE_WITH_TIMEOUT(message(window), u"Fehler: Schließende Klammer fehlt."_s, 5000);
    QCOMPARE(column(window, CandidateModel::ColNewName), QStringList{u"< ? >"_s});
    QCOMPARE(countPanel(window), u"1 von 1 Dateien markiert"_s);
    QVERIFY(!child<QPushButton>(window, u"Btn_8"_s)->isEnabled());

    child<QPushButton>(window, u"Btn_11"_s)->click(); // clears the mask: no error, empty message
    QTRY_COMPARE_WITH_TIMEOUT(column(window, CandidateModel::ColNewName), QStringList{u"< ? >"_s}, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(message(window), QString(), 5000);
}

void TestForm1::failingRowsAreShown()
{
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s, u"b.txt"_s, u"c.doc"_s})), Delay);
    child<QLineEdit>(window, u"Maske"_s)->setText(u"x[TYP]"_s);
    QTRY_COMPARE_WITH_TIMEOUT(
        message(window),
        u"Fehler: Die neuen Dateinamen sind nicht alle eindeutig - überprüfen Sie die Maske!"_s, 5000);
    const CandidateModel* model = window.model();
    QStringList tips;
    for (int row = 0; row < model->rowCount(); ++row)
        tips << model->index(row, CandidateModel::ColNewName).data(Qt::ToolTipRole).toString();
    QCOMPARE(tips, (QStringList{u"Name kommt mehrfach vor"_s, u"Name kommt mehrfach vor"_s, QString()}));
    // A row with the warning symbol is as high as one without: the rows keep one height.
    const auto* liste = child<CandidateView>(window, u"Liste"_s);
    const auto height = [&](int row) {
        return liste->sizeHintForIndex(model->index(row, CandidateModel::ColNewName)).height();
    };
    QCOMPARE(height(0), height(2));
}

// The values of a.jpg and b.jpg come from a stand-in helper that crashes on one file and hangs
// on another; the window is served throughout.
void TestForm1::fileValuesFromTheHelper()
{
    QTemporaryDir dir;
    Form1Services services;
    services.metadataHelper = QStringLiteral(VELTO_STANDIN_METADATA);
    services.metadataTimeoutMs = 300;
    Form1 window(
        toArguments(createFiles(dir, {u"a.jpg"_s, u"crash.jpg"_s, u"bare.txt"_s, u"hang.jpg"_s, u"b.jpg"_s})),
        Delay, services);
    QCOMPARE(column(window, CandidateModel::ColTaken), QStringList(5, QString()));

    // The mask field's own menu offers the tokens, which go to the caret.
    auto* mask = child<QLineEdit>(window, u"Maske"_s);
    mask->setText(u"x_"_s);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), mask->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(mask, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QVERIFY(menu->actions().size() > 3); // the field's own items stay
    QAction* camera = nullptr;
    for (QAction* item : menu->findChild<QMenu*>(u"FileValueMenu"_s)->actions().front()->menu()->actions())
        camera = item->text().startsWith(u"[FOTO.KAMERA]") ? item : camera;
    QVERIFY(camera);
    menu->close();
    camera->trigger();
    QCOMPARE(mask->text(), u"x_[FOTO.KAMERA]"_s);

    qint64 longestGap = 0;
    QElapsedTimer gap;
    QTimer beat;
    connect(&beat, &QTimer::timeout, this, [&] { longestGap = std::max(longestGap, gap.restart()); });
    gap.start();
    beat.start(5);
    QSignalSpy checked(&window, &Form1::checkFinished);
    QVERIFY(checked.wait(5000));
    beat.stop();
    QVERIFY2(longestGap <= 100, qPrintable(QString::number(longestGap)));

    QCOMPARE(message(window), u"Fehler: Manchen Dateien fehlen Angaben, die die Maske verlangt!"_s);
    const QString unreadable = u"Die Angaben dieser Datei lassen sich nicht lesen."_s;
    QCOMPARE(column(window, CandidateModel::ColNewName),
             (QStringList{u"x_Kamera a.jpg"_s, u"x_Kamera b.jpg"_s, u"< ? >"_s, u"< ? >"_s, u"< ? >"_s}));
    QStringList tips;
    for (int row = 0; row < 5; ++row)
        tips << window.model()->index(row, CandidateModel::ColNewName).data(Qt::ToolTipRole).toString();
    QCOMPARE(tips,
             (QStringList{QString(), QString(), u"Dieser Datei fehlt: Kamera"_s, unreadable, unreadable}));
    const QString taken = u"14.07.2023 13:45:07"_s;
    QCOMPARE(column(window, CandidateModel::ColTaken), (QStringList{taken, taken, {}, {}, {}}));

    // The user unmarks the rows that cannot be named, and renames the rest.
    window.model()->setMarked({{2, 4}}, false);
    QSignalSpy again(&window, &Form1::checkFinished);
    QTest::keyClick(mask, Qt::Key_End);
    QTest::keyClicks(mask, u"_[FOTO.RDATUM]"_s);
    QVERIFY(again.wait(5000));
    QVERIFY(window.planOk());
    QCOMPARE(column(window, CandidateModel::ColNewName).constFirst(), u"x_Kamera a.jpg_2023.07.14"_s);

    // Sorting by capture time: files without one first, ties in their order.
    Q_EMIT child<CandidateView>(window, u"Liste"_s)->header()->sectionClicked(CandidateModel::ColTaken);
    QCOMPARE(column(window, CandidateModel::ColTaken), (QStringList{{}, {}, {}, taken, taken}));
}

void TestForm1::escStopsTheReading()
{
    QTemporaryDir dir;
    QStringList names;
    for (int i = 0; i < 200; ++i)
        names << u"slow%1.jpg"_s.arg(i, 3, 10, QChar(u'0'));
    Form1Services services;
    services.metadataHelper = QStringLiteral(VELTO_STANDIN_METADATA);
    Form1 window(toArguments(createFiles(dir, names)), Delay, services);
    window.model()->sort(CandidateModel::ColOldName, Qt::DescendingOrder);
    const QStringList before = column(window, CandidateModel::ColOldName);

    // Esc during a read that a sort started cancels the sort too.
    auto* liste = child<CandidateView>(window, u"Liste"_s);
    QTimer::singleShot(300, liste, [liste] { QTest::keyClick(liste, Qt::Key_Escape); });
    Q_EMIT liste->header()->sectionClicked(CandidateModel::ColTaken);
    QCOMPARE(column(window, CandidateModel::ColOldName), before);
    const QStringList taken = column(window, CandidateModel::ColTaken);
    QVERIFY(taken.contains(QString()) && !taken.startsWith(QString()));

    // The rows not read are read at the next need; unread ones are said as such meanwhile.
    child<QLineEdit>(window, u"Maske"_s)->setText(u"[FOTO.KAMERA]"_s);
    QTimer::singleShot(Delay + 100, liste, [liste] { QTest::keyClick(liste, Qt::Key_Escape); });
    QSignalSpy checked(&window, &Form1::checkFinished);
    QVERIFY(checked.wait(5000));
    QStringList tips;
    for (int row = 0; row < window.model()->rowCount(); ++row)
        tips << window.model()->index(row, CandidateModel::ColNewName).data(Qt::ToolTipRole).toString();
    QVERIFY(tips.contains(u"Die Angaben dieser Datei wurden nicht gelesen."_s));
    QVERIFY(column(window, CandidateModel::ColNewName).contains(u"Kamera slow199.jpg"_s));
}

void TestForm1::headerClicksSortByValue()
{
    QTemporaryDir dir;
    const QStringList paths = createFiles(dir, {u"a.bin"_s, u"b.bin"_s, u"c.bin"_s});
    const int sizes[] = {1025, 1024, 3};
    for (int i = 0; i < 3; ++i)
        QVERIFY(QFile::resize(paths[i], sizes[i]));
    Form1 window(toArguments(paths), Delay);
    window.model()->setSortState(CandidateModel::ColOldName, Qt::AscendingOrder);
    QHeaderView* header = child<CandidateView>(window, u"Liste"_s)->header();
    QSignalSpy checks(&window, &Form1::checkFinished);

    Q_EMIT header->sectionClicked(CandidateModel::ColSize);
    QCOMPARE(checks.count(), 1);
    QCOMPARE(column(window, CandidateModel::ColOldName), (QStringList{u"c.bin"_s, u"b.bin"_s, u"a.bin"_s}));
    Q_EMIT header->sectionClicked(CandidateModel::ColSize);
    QCOMPARE(column(window, CandidateModel::ColOldName), (QStringList{u"a.bin"_s, u"b.bin"_s, u"c.bin"_s}));
    // A new header sorts in the direction last used.
    Q_EMIT header->sectionClicked(CandidateModel::ColOldName);
    QCOMPARE(column(window, CandidateModel::ColOldName), (QStringList{u"c.bin"_s, u"b.bin"_s, u"a.bin"_s}));
    QCOMPARE(checks.count(), 3);
}

void TestForm1::markedRowsMove()
{
    int beeped = 0;
    Beep::setObserver([&beeped] { ++beeped; });
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"W"_s, u"X"_s, u"Y"_s, u"Z"_s})), Delay);
    auto* liste = child<CandidateView>(window, u"Liste"_s);
    liste->selectionModel()->clearSelection();
    for (int row : {1, 2})
        liste->selectionModel()->select(window.model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    // Marks changed in the list are checked after the delay, which enables the arrows.
    QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(window, u"Btn_13"_s)->isEnabled(), 5000);
    QVERIFY(child<QPushButton>(window, u"Btn_12"_s)->isEnabled());
    child<QPushButton>(window, u"Btn_13"_s)->click();
    QCOMPARE(column(window, CandidateModel::ColOldName), (QStringList{u"X"_s, u"Y"_s, u"W"_s, u"Z"_s}));
    QCOMPARE(column(window, CandidateModel::ColNewName).mid(0, 2), (QStringList{u"< ? >"_s, u"< ? >"_s}));
    QVERIFY(!child<QPushButton>(window, u"Btn_8"_s)->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(column(window, CandidateModel::ColNewName).first(), u"X"_s, 5000);

    // The first row is marked now: the arrow is disabled, and a move up is refused with a
    // beep, nothing moves.
    QVERIFY(!child<QPushButton>(window, u"Btn_13"_s)->isEnabled());
    child<QPushButton>(window, u"Btn_13"_s)->setEnabled(true);
    child<QPushButton>(window, u"Btn_13"_s)->click();
    QCOMPARE(beeped, 1);
    QCOMPARE(column(window, CandidateModel::ColOldName), (QStringList{u"X"_s, u"Y"_s, u"W"_s, u"Z"_s}));
}

void TestForm1::renameRun()
{
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"b.txt"_s, u"a.txt"_s, u"c.txt"_s})), Delay);
    child<CandidateView>(window, u"Liste"_s)
        ->selectionModel()
        ->select(window.model()->index(1, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    child<QCheckBox>(window, u"DirItCheck"_s)->setChecked(true);
    readyToRename(window, u"Urlaub_[ZAHL][TYP]"_s);

    QTest::mouseClick(child<QPushButton>(window, u"Btn_8"_s), Qt::LeftButton);
    QCOMPARE(TestFiles::entryNames(dir.path()),
             (QStringList{u"Urlaub_1.txt"_s, u"Urlaub_3.txt"_s, u"b.txt"_s}));
    QCOMPARE(QGuiApplication::clipboard()->text(), u"Urlaub_3.txt\nUrlaub_1.txt\n"_s);
    // The unmarked row is left and checked again with its new position.
    QCOMPARE(column(window, CandidateModel::ColOldName), QStringList{u"b.txt"_s});
    QCOMPARE(column(window, CandidateModel::ColNewName), QStringList{u"Urlaub_1.txt"_s});
    QCOMPARE(countPanel(window), u"0 von 1 Dateien markiert"_s);
    QCOMPARE(child<QProgressBar>(window, u"Bar"_s)->value(), 0);
    QCOMPARE(Settings().ReadSetting(u"Maske30"_s, QString()), u"Urlaub_[ZAHL][TYP]"_s);
    QCOMPARE(Settings().ReadSetting(u"DirIt30"_s, QString()), u"1"_s);
}

void TestForm1::altURenames_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<int>("key");
    QTest::newRow("&Umtaufen!") << Language::German << int(Qt::Key_U);
    QTest::newRow("Re&name!") << Language::English << int(Qt::Key_N);
}

void TestForm1::altURenames()
{
    QFETCH(Language, language);
    QFETCH(int, key);
    const InLanguage shown(language);
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s})), Delay);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    readyToRename(window, u"b[TYP]"_s);
    QTest::keyClick(&window, Qt::Key(key), Qt::AltModifier);
    // The key presses the button, which clicks when it comes up again.
    QTRY_COMPARE(TestFiles::entryNames(dir.path()), QStringList{u"b.txt"_s});
}

void TestForm1::renameFailureAnswered_data()
{
    QTest::addColumn<bool>("goOn");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("OK") << true << QStringList{u"x2.txt"_s, u"x3.txt"_s, u"b.txt"_s, u"x1.txt"_s}
                        << QStringList{u"b.txt"_s};
    QTest::newRow("Abbrechen") << false << QStringList{u"x2.txt"_s, u"x3.txt"_s, u"a.txt"_s, u"b.txt"_s}
                               << QStringList{u"a.txt"_s, u"b.txt"_s};
}

void TestForm1::renameFailureAnswered()
{
    QFETCH(bool, goOn);
    QFETCH(QStringList, files);
    QFETCH(QStringList, rows);
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s})), Delay);
    readyToRename(window, u"x[ZAHL][TYP]"_s);
    QGuiApplication::clipboard()->setText(u"vorher"_s);
    // A file takes the second name after the check.
    QVERIFY(createFiles(dir, {u"x2.txt"_s}).size() == 1);

    MessageBox::setNextAnswer(goOn ? MessageBox::Answer::Ok : MessageBox::Answer::Cancel);
    QTest::mouseClick(child<QPushButton>(window, u"Btn_8"_s), Qt::LeftButton);
    QCOMPARE(MessageBox::lastText().split(u'\n').at(2), dir.filePath(u"b.txt"_s));
    files.sort();
    QCOMPARE(TestFiles::entryNames(dir.path()), files);
    QCOMPARE(column(window, CandidateModel::ColOldName), rows);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"vorher"_s);
    QCOMPARE(message(window),
             u"Fehler: Einige neue Namen überschneiden sich mit denen existierender Dateien!"_s);
}

void TestForm1::failedRowsStayOneMarkedRange()
{
    // c leaves the list before the question about b, which makes b and d neighbours: their
    // marks must become one range of the selection again, or every failure adds one.
    QTemporaryDir dir;
    const QStringList paths = createFiles(dir, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s});
    Form1 window(toArguments(paths), Delay);
    readyToRename(window, u"x[ZAHL][TYP]"_s);
    QVERIFY(QFile::remove(paths[1]) && QFile::remove(paths[3]));
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    QTest::mouseClick(child<QPushButton>(window, u"Btn_8"_s), Qt::LeftButton);
    QCOMPARE(column(window, CandidateModel::ColOldName), (QStringList{u"b.txt"_s, u"d.txt"_s}));
    auto* liste = child<CandidateView>(window, u"Liste"_s);
    QCOMPARE(liste->selectionModel()->selection().size(), 1);
    // The header paints without asking the marks, which would walk their ranges every time.
    QVERIFY(!liste->header()->highlightSections());
    QVERIFY(!liste->header()->selectionModel()->hasSelection());
}

void TestForm1::undoOfTheLastRun()
{
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s})), Delay);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    child<CandidateView>(window, u"Liste"_s)
        ->selectionModel()
        ->select(window.model()->index(2, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    readyToRename(window, u"x_[NAME][TYP]"_s);
    QTest::mouseClick(child<QPushButton>(window, u"Btn_8"_s), Qt::LeftButton);
    const QStringList renamed{u"c.txt"_s, u"x_a.txt"_s, u"x_b.txt"_s};
    QCOMPARE(TestFiles::entryNames(dir.path()), renamed);
    QMenu* menu = openListMenu(window);
    QVERIFY(child<QAction>(window, u"ListMenu_Undo"_s)->isEnabled());
    menu->close();

    // In a text field, Ctrl+Z is the field's own.
    auto* mask = child<QLineEdit>(window, u"Maske"_s);
    mask->setFocus();
    QTest::keyClicks(mask, u"y"_s);
    QTest::keyClick(mask, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(mask->text(), u"x_[NAME][TYP]"_s);
    QCOMPARE(TestFiles::entryNames(dir.path()), renamed);

    // Asked first; Abbrechen moves nothing.
    auto* liste = child<CandidateView>(window, u"Liste"_s);
    liste->setFocus();
    MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
    QTest::keyClick(liste, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY2(MessageBox::lastText().startsWith(u"Die letzte Umbenennung rückgängig machen? 2 Dateien "
                                               u"bekommen ihren alten Namen zurück. Sie fand am "_s),
             qPrintable(MessageBox::lastText()));
    QCOMPARE(TestFiles::entryNames(dir.path()), renamed);

    // OK, then the summary; the files come back as marked rows beside the unmarked one.
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    QTest::keyClick(liste, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(MessageBox::lastText(), u"2 Dateien haben ihren alten Namen zurück."_s);
    QCOMPARE(TestFiles::entryNames(dir.path()), (QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}));
    QCOMPARE(column(window, CandidateModel::ColOldName), (QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}));
    QCOMPARE(countPanel(window), u"2 von 3 Dateien markiert"_s);

    // One level only.
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    QTest::keyClick(liste, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(MessageBox::lastText(), u"Es gibt keine Umbenennung, die sich rückgängig machen ließe."_s);
    menu = openListMenu(window);
    QVERIFY(!child<QAction>(window, u"ListMenu_Undo"_s)->isEnabled());
    menu->close();
}

void TestForm1::recentMaskMenu()
{
    QTemporaryDir dir;
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s})), Delay);
    auto* menu = child<QMenu>(window, u"pummain"_s);
    auto* mask = child<QLineEdit>(window, u"Maske"_s);
    child<QLineEdit>(window, u"Zahl"_s)->setText(u"7"_s);
    auto* regex = child<QCheckBox>(window, u"RegexCheck"_s);
    regex->setChecked(true);
    readyToRename(window, u"[ZAHL]_neu[TYP]"_s);
    QTest::mouseClick(child<QPushButton>(window, u"Btn_8"_s), Qt::LeftButton);
    QCOMPARE(TestFiles::entryNames(dir.path()), QStringList{u"7_neu.txt"_s});

    mask->setText(u"anders"_s);
    child<QLineEdit>(window, u"Zahl"_s)->setText(u"1"_s);
    regex->setChecked(false);
    QTest::mouseClick(child<QPushButton>(window, u"Btn_24"_s), Qt::LeftButton);
    QTRY_VERIFY(menu->isVisible());
    const QList<QAction*> items = menu->actions();
    QCOMPARE(items[0]->text(), u"[ZAHL]_neu[TYP]"_s);
    QVERIFY(!items[1]->isVisible());
    QCOMPARE(menu->defaultAction(), items[31]);
    items[0]->trigger();
    menu->hide();
    QCOMPARE(mask->text(), u"[ZAHL]_neu[TYP]"_s);
    QCOMPARE(child<QLineEdit>(window, u"Zahl"_s)->text(), u"7"_s);
    QVERIFY(regex->isChecked());
    // Abbrechen and the separator change nothing.
    mask->setText(u"anders"_s);
    items[31]->trigger();
    QCOMPARE(mask->text(), u"anders"_s);
}

void TestForm1::unwritableStoreDoesNotStopTheRun()
{
    QTemporaryDir dir;
    Form1Services services;
    services.settings = std::make_shared<FullStore>();
    // And no journal: the file to rename stands where the journal's folder should be.
    services.journalFolder = dir.filePath(u"a.txt/velto"_s);
    Form1 window(toArguments(createFiles(dir, {u"a.txt"_s})), Delay, services);
    readyToRename(window, u"b[TYP]"_s);
    QTest::mouseClick(child<QPushButton>(window, u"Btn_8"_s), Qt::LeftButton);
    QCOMPARE(TestFiles::entryNames(dir.path()), QStringList{u"b.txt"_s});
    QCOMPARE(message(window), u"Hinweis: Die Maske ließ sich nicht unter den zuletzt benutzten speichern. "
                              u"Hinweis: Diese Umbenennung lässt sich nicht rückgängig machen."_s);
    // Ctrl+Z says so too, and takes back no run older than this one.
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    QTest::keyClick(child<CandidateView>(window, u"Liste"_s), Qt::Key_Z, Qt::ControlModifier);
    MessageBox::setNextAnswer(MessageBox::Answer::None);
    QCOMPARE(MessageBox::lastText(), u"Die letzte Umbenennung lässt sich nicht rückgängig machen."_s);
    QCOMPARE(TestFiles::entryNames(dir.path()), QStringList{u"b.txt"_s});
}

void TestForm1::qtOptionsAreFiles()
{
    // Qt would take these as options and abort for want of the platform "nirgends".
    QTemporaryDir dir;
    createFiles(dir, {u"-platform"_s, u"nirgends"_s});
    QProcess velto;
    velto.setWorkingDirectory(dir.path());
    velto.start(QStringLiteral(VELTO_EXECUTABLE), {u"-platform"_s, u"nirgends"_s});
    QVERIFY(velto.waitForStarted());
    QVERIFY2(!velto.waitForFinished(1500), velto.readAllStandardError().constData());
    velto.kill();
    velto.waitForFinished();
}

void TestForm1::noDisplayIsSaidInOneLine_data()
{
    QTest::addColumn<QStringList>("locale");
    QTest::addColumn<QByteArray>("line");
    const QByteArray german =
        "Velto braucht eine grafische Sitzung (DISPLAY oder WAYLAND_DISPLAY ist nicht gesetzt).\n";
    const QByteArray english =
        "Velto needs a graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set).\n";
    // The real program's choice of language, from the locale it is started in.
    QTest::newRow("LANG=de_DE.UTF-8") << QStringList{u"LANG=de_DE.UTF-8"_s} << german;
    QTest::newRow("LANG=en_US.UTF-8") << QStringList{u"LANG=en_US.UTF-8"_s} << english;
    QTest::newRow("LC_ALL=C.UTF-8 LANGUAGE=en")
        << QStringList{u"LC_ALL=C.UTF-8"_s, u"LANGUAGE=en"_s} << german;
    QTest::newRow("LANG=de_DE.UTF-8 LANGUAGE=en")
        << QStringList{u"LANG=de_DE.UTF-8"_s, u"LANGUAGE=en"_s} << english;
    QTest::newRow("LANG=fr_FR.UTF-8") << QStringList{u"LANG=fr_FR.UTF-8"_s} << english;
}

void TestForm1::noDisplayIsSaidInOneLine()
{
    QFETCH(QStringList, locale);
    QFETCH(QByteArray, line);
    // Qt would abort with a message that advises reinstalling.
    QProcess velto;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s, u"LANGUAGE"_s,
                                u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANG"_s})
        environment.remove(name);
    for (const QString& setting : std::as_const(locale))
        environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    velto.setProcessEnvironment(environment);
    velto.start(QStringLiteral(VELTO_EXECUTABLE), {u"a.txt"_s});
    QVERIFY(velto.waitForFinished());
    QCOMPARE(velto.exitStatus(), QProcess::NormalExit);
    QCOMPARE(velto.exitCode(), 1);
    QCOMPARE(velto.readAllStandardError(), line);
    QCOMPARE(velto.readAllStandardOutput(), QByteArray());
}

void TestForm1::helpWindowOpensOnce()
{
    QTemporaryDir dir;
    const QString manual = dir.filePath(u"help.rtf"_s);
    const auto writeManual = [&manual](const QByteArray& text) {
        QVERIFY(TestFiles::writeContent(manual, QByteArray(R"({\rtf1\ansi )") + text + "}"));
    };
    const auto shownText = [](const Form1& window) {
        return window.helpForm()->findChild<QTextBrowser*>(u"Text1"_s)->toPlainText();
    };
    writeManual("Erste Fassung");
    Form1Services services;
    services.helpFile = manual;
    Form1 window({}, Delay, services);
    // Away from the screen's centre, where the main window opens.
    window.move(0, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* help = child<QPushButton>(window, u"Btn_10"_s);
    QTest::mouseClick(help, Qt::LeftButton);
    HelpForm* first = window.helpForm();
    QVERIFY(first && first->isVisible());
    QCOMPARE(first->windowTitle(), u"Hilfe"_s);
    QCOMPARE(shownText(window), u"Erste Fassung"_s);
    // Centred over the main window.
    QVERIFY((first->frameGeometry().center() - window.frameGeometry().center()).manhattanLength() <= 2);

    // A second click only raises the open window: the file is not read again.
    writeManual("Zweite Fassung" + QByteArray(R"(\par Zeile)").repeated(300));
    QTest::mouseClick(help, Qt::LeftButton);
    QCOMPARE(window.helpForm(), first);
    QCOMPARE(shownText(window), u"Erste Fassung"_s);

    // "Über ..." shows the information box; the help stays open.
    MessageBox::setNextAnswer(MessageBox::Answer::Ok);
    QTest::mouseClick(first->findChild<QPushButton*>(u"Command1_1"_s), Qt::LeftButton);
    QVERIFY(MessageBox::lastText().startsWith(
        u"Velto 1.6 - ein Tool zum kinderleichten 'Umtaufen' unzähliger Dateien unter Windows\n\n"_s));
    QVERIFY(first->isVisible());

    // After OK the next opening reads the file anew.
    QTest::mouseClick(first->findChild<QPushButton*>(u"Command1_0"_s), Qt::LeftButton);
    QTRY_VERIFY(!window.helpForm());
    QTest::mouseClick(help, Qt::LeftButton);
    QVERIFY(shownText(window).startsWith(u"Zweite Fassung\nZeile\n"_s));
    // It opens at the top, like the first time.
    QTextBrowser* text = window.helpForm()->findChild<QTextBrowser*>(u"Text1"_s);
    QTRY_VERIFY(text->verticalScrollBar()->maximum() > 0);
    QCOMPARE(text->verticalScrollBar()->value(), 0);

    // A missing manual is said in the window, and the program goes on.
    window.helpForm()->close();
    QTRY_VERIFY(!window.helpForm());
    QFile::remove(manual);
    QTest::mouseClick(help, Qt::LeftButton);
    QVERIFY(shownText(window).startsWith(u"Die Anleitung wurde nicht gefunden"_s));

    // Escape closes it, as it does a dialog.
    QTest::keyClick(window.helpForm()->findChild<QTextBrowser*>(u"Text1"_s), Qt::Key_Escape);
    QTRY_VERIFY(!window.helpForm());
}

void TestForm1::sortKeepsMarksCurrentRowAndScrolling()
{
    QTemporaryDir dir;
    QStringList names;
    for (int i = 0; i < 300; ++i)
        names << u"f%1.txt"_s.arg(i);
    Form1 window(toArguments(createFiles(dir, names)), Delay);
    window.show();
    auto* liste = child<CandidateView>(window, u"Liste"_s);
    QItemSelectionModel* selection = liste->selectionModel();
    const CandidateModel* model = window.model();
    // Every third row marked, the current row far down, the view scrolled to it.
    selection->clearSelection();
    for (int row = 0; row < model->rowCount(); row += 3)
        selection->select(model->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->setCurrentIndex(model->index(250, 0), QItemSelectionModel::NoUpdate);
    liste->scrollTo(model->index(250, 0));
    const int scrolled = liste->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    QStringList before;
    for (int row = 0; row < model->rowCount(); row += 3)
        before << model->index(row, 0).data().toString();
    before.sort();
    const QString current = selection->currentIndex().data().toString();

    // "Alter Name", descending.
    liste->header()->sectionClicked(CandidateModel::ColOldName);
    liste->header()->sectionClicked(CandidateModel::ColOldName);
    QCOMPARE(model->index(0, 0).data().toString(), u"f299.txt"_s);
    QCOMPARE(shownMarksDiffer(liste, model), QString());
    QStringList marked;
    for (const CandidateRow& row : model->rows()) {
        if (row.Marked)
            marked << row.OldName;
    }
    marked.sort();
    QCOMPARE(marked, before);
    QCOMPARE(selection->currentIndex().data().toString(), current);
    QCOMPARE(liste->verticalScrollBar()->value(), scrolled);
}

void TestForm1::marksFollowMouseKeysAndScrolling()
{
    Form1 window({}, Delay);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* liste = child<CandidateView>(window, u"Liste"_s);
    CandidateModel* model = window.model();
    QString names;
    for (int i = 0; i < 300; ++i)
        names += i % 2 == 0 ? u'A' : u'b';
    model->insertAtTop(TestRows::byCase(names));
    const auto marks = [model] {
        QString result;
        for (int row = 0; row < model->rowCount(); ++row)
            result += model->rowAt(row).Marked ? u'x' : u'.';
        return result;
    };
    const auto click = [liste, model](int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, modifiers,
                          liste->visualRect(model->index(row, 0)).center());
    };
    const auto mirroredBelow = [liste](int row) {
        const QItemSelection ranges = liste->selectionModel()->selection();
        return std::all_of(ranges.cbegin(), ranges.cend(),
                           [row](const QItemSelectionRange& range) { return range.bottom() < row; });
    };
    // 150 runs, of which the selection holds those near the screen.
    QCOMPARE(shownMarksDiffer(liste, model), QString());
    QVERIFY(mirroredBelow(100));

    // A click unmarks the rows far below as well; Ctrl+A marks them.
    click(1);
    QCOMPARE(marks(), u".x"_s + QString(298, u'.'));
    QTest::keyClick(liste, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(marks(), QString(300, u'x'));
    // Ctrl-clicks unmark and mark again; a shift-click that shrinks gives the rows it
    // leaves their marks back, and the rows far below keep theirs.
    click(2, Qt::ControlModifier);
    click(4, Qt::ControlModifier);
    click(2, Qt::ControlModifier);
    click(5, Qt::ShiftModifier);
    QCOMPARE(marks().left(7), u"xxxxxxx"_s);
    click(3, Qt::ShiftModifier);
    QCOMPARE(marks(), u"xxxx.xx"_s + QString(293, u'x'));
    QCOMPARE(shownMarksDiffer(liste, model), QString());

    // Scrolled to the end, the selection shows the rows there; the buttons' inversion too.
    liste->scrollToBottom();
    QVERIFY(liste->selectionModel()->isRowSelected(299, QModelIndex()));
    QVERIFY(!liste->selectionModel()->isRowSelected(0, QModelIndex()));
    QCOMPARE(shownMarksDiffer(liste, model), QString());
    QTest::mouseClick(child<QPushButton>(window, u"Btn_3"_s), Qt::LeftButton);
    QCOMPARE(marks(), u"....x.."_s + QString(293, u'.'));
    QVERIFY(!liste->selectionModel()->hasSelection());
    click(298, Qt::ControlModifier);
    QCOMPARE(shownMarksDiffer(liste, model), QString());
    QCOMPARE(marks().count(u'x'), 2);
}

void TestForm1::windowRoles()
{
    // Screen readers announce a window by its role and title: frames for the main and the
    // help window, dialogs for the options window and the information box.
    const auto role = [](QObject* window) { return QAccessible::queryAccessibleInterface(window)->role(); };
    Form1 window({}, Delay);
    QCOMPARE(role(&window), QAccessible::Window);
    QTest::mouseClick(child<QPushButton>(window, u"Btn_10"_s), Qt::LeftButton);
    QCOMPARE(role(window.helpForm()), QAccessible::Window);

    // Whatever modal window opens is looked at and closed from inside its own event loop.
    QList<QAccessible::Role> dialogs;
    QTimer inspector;
    connect(&inspector, &QTimer::timeout, [&dialogs] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            dialogs.append(QAccessible::queryAccessibleInterface(modal)->role());
            modal->close();
        }
    });
    inspector.start(10);
    QTest::mouseClick(child<QPushButton>(window, u"Btn_14"_s), Qt::LeftButton);
    QTest::mouseClick(window.helpForm()->findChild<QPushButton*>(u"Command1_1"_s), Qt::LeftButton);
    QCOMPARE(dialogs, (QList<QAccessible::Role>{QAccessible::Dialog, QAccessible::Dialog}));
}

VELTO_GUI_TEST_MAIN(TestForm1)
#include "TestForm1.moc"
