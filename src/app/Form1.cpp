#include "app/Form1.h"

#include "app/AboutText.h"
#include "app/CandidateView.h"
#include "app/FormLineEdit.h"
#include "app/ListContextMenu.h"
#include "app/FileValueReading.h"
#include "app/ScenarioFields.h"
#include "widgets/MessageBox.h"
#include "widgets/ProgramTitle.h"
#include "widgets/Twips.h"
#include "plan/RecentMasks.h"
#include "app/TokenButtons.h"
#include "app/ToolTips.h"
#include "app/Translations.h"
#include "plan/RenameRun.h"
#include "plan/RunJournal.h"
#include "list/CandidateModel.h"
#include "list/CandidateSelection.h"
#include "list/ListIntake.h"
#include "list/UriList.h"
#include "naming/CounterRules.h"
#include "naming/FileValueKinds.h"
#include "platform/Beep.h"
#include "platform/Clipboard.h"
#include "platform/PosixFileSystem.h"
#include "platform/Settings.h"
#include "platform/ShortcutService.h"
#include "windows/HelpForm.h"
#include "windows/OptionForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// The mask menu pummain by index into its actions(): the recent-mask slots come first (index
// k - 1 is menu item k), then a separator line and "Abbrechen", the item the menu opens on.
constexpr qsizetype SeparatorItem = RecentMasks::SlotCount;
constexpr qsizetype CancelItem = SeparatorItem + 1;
constexpr qsizetype MaskMenuSize = CancelItem + 1;

// Replaces a selection list's entries without running its handler; the caller then selects
// the entry whose handler should run.
void refill(QComboBox* box, const QStringList& entries)
{
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(entries);
    box->setCurrentIndex(-1);
}

} // namespace

Form1::Form1(QList<QByteArray> arguments, int checkDelayMs, Form1Services services, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_c(buildForm1Layout(this)), m_timer1(new QTimer(this)), m_model(new CandidateModel(this)),
      m_services(std::move(services)), m_arguments(std::move(arguments)),
      m_progress(m_c.Bar, m_c.StatusPanel[1])
{
    if (!m_services.fileSystem)
        m_services.fileSystem = std::make_shared<PosixFileSystem>();
    if (!m_services.settings)
        m_services.settings = std::make_shared<Settings>();
    if (!m_services.shortcuts)
        m_services.shortcuts = std::make_shared<XdgShortcutService>();
    if (m_services.helpFile.isEmpty())
        m_services.helpFile = HelpForm::defaultHelpFile(Translations::current());
    if (m_services.journalFolder.isEmpty())
        m_services.journalFolder = JournalFolder::defaultFolder();
    if (m_services.metadataHelper.isEmpty())
        m_services.metadataHelper = MetadataPool::defaultHelper();
    m_metadata = std::make_unique<MetadataPool>(m_services.metadataHelper, m_services.metadataTimeoutMs);

    m_timer1->setObjectName(u"Timer1"_s);
    m_timer1->setSingleShot(true);
    m_timer1->setInterval(checkDelayMs);

    m_c.Liste->setModel(m_model);
    configureListColumns(m_c.Liste);
    m_selection = new CandidateSelection(m_model, this);
    {
        QItemSelectionModel* stock = m_c.Liste->selectionModel(); // made by setModel, unused now
        m_c.Liste->setSelectionModel(m_selection);
        delete stock;
    }
    m_listMenu = new ListContextMenu(m_model, this);
    m_journal = std::make_unique<WindowJournal>(m_services.journalFolder);
    m_undo = std::make_unique<LastRunUndo>(this, *m_model, *m_services.fileSystem, m_progress, *m_journal);
    m_reading = std::make_unique<FileValueReading>(this, *m_model, *m_metadata, m_progress);
    m_model->setProgress([this](qsizetype done, qsizetype total) { m_progress.show(done, total); });

    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connectHandlers();
    Form_Load();
    m_c.Liste->setFocus();
}

Form1::~Form1() = default;

void Form1::connectHandlers()
{
    for (size_t i = 0; i < m_c.Btn.size(); ++i)
        connect(m_c.Btn[i], &QPushButton::clicked, this, [this, i] { Btn_Click(static_cast<int>(i)); });
    connect(m_c.Maske, &QLineEdit::textChanged, this, &Form1::ChkSituationButDelayed);
    connect(m_c.Maske, &FormLineEdit::tokenChosen, this,
            [this](const QString& token) { InsertText(token, 0); });
    for (QLineEdit* field : {m_c.Zahl, m_c.Schrittweite, m_c.SucheText, m_c.ErsetzeText})
        connect(field, &QLineEdit::textChanged, this, &Form1::ChkSituationButDelayed);
    // The box changes what "Ersetze" means, as an edit of it would.
    connect(m_c.RegexCheck, &QCheckBox::toggled, this, &Form1::ChkSituationButDelayed);
    connect(m_c.Schreibweise, &QComboBox::currentIndexChanged, this, &Form1::Schreibweise_Click);
    connect(m_c.Vornullenzeichen, &QComboBox::currentIndexChanged, this, &Form1::Vornullenzeichen_Click);
    connect(m_c.StellenAnzahl, &QComboBox::currentIndexChanged, this, &Form1::StellenAnzahl_Click);
    connect(m_c.ToolTipCheck, &QCheckBox::toggled, this, &Form1::ToolTipCheck_Click);
    connect(m_c.DirItCheck, &QCheckBox::toggled, this, &Form1::DirItCheck_Click);
    connect(m_c.pummain, &QMenu::triggered, this,
            [this](QAction* item) { pum_Click(static_cast<int>(m_c.pummain->actions().indexOf(item)) + 1); });
    connect(m_timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(m_c.Liste, &CandidateView::dataDropped, this, &Form1::Liste_OLEDragDrop);
    connect(m_c.Liste, &CandidateView::contextMenuWanted, this,
            [this](const QPoint& pos) { m_listMenu->open(pos, m_undo->available()); });
    connect(m_listMenu->undoItem(), &QAction::triggered, this, &Form1::undoLastRun);
    // A window shortcut that is always on; a text field with the focus keeps Ctrl+Z for itself.
    auto* undoKey = new QShortcut(QKeySequence::Undo, this, this, &Form1::undoLastRun);
    undoKey->setObjectName(u"UndoShortcut"_s);
    connect(m_c.Liste, &CandidateView::deleteKeyPressed, m_listMenu, &ListContextMenu::removeMarked);
    connect(m_listMenu, &ListContextMenu::filesChosen, this,
            [this](const QStringList& files) { FillListe(files); });
    connect(m_listMenu, &ListContextMenu::rowsRemoved, this, &Form1::ChkSituation);
    connect(m_c.Liste->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { Liste_ColumnClick(section + 1); });
    // Marks changed with the mouse or the keyboard are checked after the delay.
    connect(m_selection, &CandidateSelection::marksChangedByUser, this, &Form1::ChkSituationButDelayed);
}

void Form1::Form_Load()
{
    setWindowTitle(ProgramTitle.toString());
    StartValue = 1;
    m_c.Zahl->setText(CounterRules::numberText(StartValue));
    StepValue = 1;
    m_c.Schrittweite->setText(u"1"_s);
    m_c.Maske->setText(u"[NAME][TYP]"_s);
    if (m_services.settings->ReadSetting(u"ToolTips"_s, u"0"_s).trimmed() == u"1")
        m_c.ToolTipCheck->setChecked(true);

    // Only the index of a choice is stored, so that stored masks work in every language.
    refill(m_c.Schreibweise, {tr("beibehalten"), tr("alles groß"), tr("alles klein"), tr("anfangs groß")});
    m_c.Schreibweise->setCurrentIndex(0);
    InitStellenAnzahl();
    refill(m_c.Vornullenzeichen, {tr("keine"), tr("Null"), tr("Leerzeichen"), tr("Unterstrich")});
    m_c.Vornullenzeichen->setCurrentIndex(0);

    // i counts the menu items from 1; item 1 comes with the layout.
    for (qsizetype i = 2; i <= MaskMenuSize; ++i) {
        QAction* item = m_c.pummain->addAction(QString());
        item->setObjectName(u"pum_"_s + QString::number(i));
        item->setVisible(i > RecentMasks::SlotCount);
    }
    const QList<QAction*> items = m_c.pummain->actions();
    // A line only: some styles print a separator's text beside the line.
    items[SeparatorItem]->setSeparator(true);
    items[CancelItem]->setText(tr("Abbrechen"));

    m_timer1->stop();
    InitListe();
    ChkSituation();

    qsizetype notUtf8 = 0;
    CommandLinePaths = ListIntake::commandLinePaths(m_arguments, &notUtf8);
    // The words are read once; a hundred thousand of them are megabytes not to keep twice.
    m_arguments = {};
    if (!CommandLinePaths.isEmpty())
        FillListe(std::move(CommandLinePaths));
    CommandLinePaths = {};
    // Said after the check, whose outcome would cover them otherwise.
    QStringList hints;
    if (m_services.settings->tooLarge())
        hints.append(tr("Hinweis: Die Einstellungsdatei ist zu groß und wird nicht verwendet."));
    if (notUtf8 > 0)
        hints.append(ListIntake::notUtf8Hint(notUtf8));
    if (!hints.isEmpty())
        UserInfo(hints.join(u' '));
}

// ---- The plan check ---------------------------------------------------------------------

void Form1::ChkSituation()
{
    if (CheckRunning || m_readingValues)
        return;
    const QScopedValueRollback<bool> running(CheckRunning, true);
    m_c.StatusPanel[0]->setText(u"..."_s);
    const bool hasRows = m_model->rowCount() > 0;
    if (!ChoiceBeingApplied) {
        ValidateNumericText(m_c.Zahl, StartValue);
        ValidateNumericText(m_c.Schrittweite, StepValue);
        InitStellenAnzahl();
    }
    TranslateMaske();
    FillNewNameColumn();

    // An expression that cannot serve is told even before there is a row to name.
    if (m_mask.MaskOk && (hasRows || !m_plan.ExpressionError.isEmpty())) {
        const QString failure = PlanCheck::failureMessage(m_plan);
        if (!failure.isEmpty())
            UserInfo(failure);
    }
    PlanOk = hasRows && m_mask.MaskOk && m_plan.allPassed();
    if (PlanOk)
        UserInfo(PlanCheck::successMessage(Twips::plainCaption(m_c.Btn[Button::Rename]->text())));
    m_c.Btn[Button::Rename]->setEnabled(PlanOk);
    m_c.StatusPanel[0]->setText(PlanCheck::countText(m_plan.MarkedCount, m_model->rowCount()));

    m_c.Btn[Button::MoveDown]->setEnabled(m_model->canMoveMarked(false, m_plan.MarkedCount));
    m_c.Btn[Button::MoveUp]->setEnabled(m_model->canMoveMarked(true, m_plan.MarkedCount));
    Q_EMIT checkFinished();
}

void Form1::ChkSituationButDelayed()
{
    m_c.Btn[Button::Rename]->setEnabled(false);
    m_timer1->stop();
    // A run ends with a check of its own; a delayed one must not fire behind its dialog.
    if (!m_renaming)
        m_timer1->start();
}

void Form1::Timer1_Timer()
{
    m_timer1->stop();
    ChkSituation();
}

void Form1::UserInfo(const QString& text)
{
    m_c.StatusPanel[1]->setText(text);
}

void Form1::TranslateMaske()
{
    UserInfo(MaskTranslator::okText());
    m_mask = MaskTranslator::translate(m_c.Maske->text(), MaskTranslator::ForbiddenChars);
    if (m_mask.error)
        UserInfo(MaskTranslator::errorText(static_cast<int>(*m_mask.error)));
}

void Form1::FillNewNameColumn()
{
    const NamingOptions options{StartValue,
                                StepValue,
                                DigitsText,
                                LeadZeroChar,
                                LetterCaseIndex,
                                m_c.SucheText->text(),
                                m_c.ErsetzeText->text(),
                                m_c.RegexCheck->isChecked()};
    if (!m_mask.MaskOk) {
        m_model->updateNewNames([&](NewNamesUpdate& rows) {
            m_plan = PlanCheck::FillNewNameColumn(rows, m_mask, options, *m_services.fileSystem);
        });
        if (m_mask.MaskEmpty)
            UserInfo(QString());
        return;
    }
    if (m_model->rowCount() > 0 && FileValueKinds::needsOf(m_mask.program) != 0)
        readFileValues(); // what Esc left unread counts as missing
    UserInfo(tr("Überprüfung der vorgesehenen Namen ... "));
    const qsizetype total = m_model->rowCount();
    if (total != 0)
        m_progress.begin(total);
    m_model->updateNewNames([&](NewNamesUpdate& rows) {
        m_plan = PlanCheck::FillNewNameColumn(
            rows, m_mask, options, *m_services.fileSystem,
            [this](qsizetype done, qsizetype all) { m_progress.show(done, all); });
    });
    if (total != 0)
        m_progress.end();
    UserInfo(QString());
}

bool Form1::readFileValues()
{
    const QScopedValueRollback<bool> reading(m_readingValues, true);
    return m_reading->readMissing([this] { UserInfo(tr("Angaben werden aus den Dateien gelesen ...")); });
}

// ---- Option fields ----------------------------------------------------------------------

void Form1::ValidateNumericText(QLineEdit* TextFeld, qint32& CurrVal)
{
    CurrVal = CounterRules::numberFromText(TextFeld->text());
    // Writing back an unchanged text raises no change; a changed one starts the delayed check.
    TextFeld->setText(CounterRules::numberText(CurrVal));
}

void Form1::InitStellenAnzahl()
{
    MinDigits = CounterRules::minDigits(m_model->rowCount(), StartValue, StepValue);
    refill(m_c.StellenAnzahl, CounterRules::digitChoices(MinDigits));
    m_c.StellenAnzahl->setCurrentIndex(0);
}

void Form1::Schreibweise_Click(int index)
{
    if (index < 0)
        return;
    LetterCaseIndex = static_cast<CaseRule>(index);
    ChkSituation();
}

void Form1::Vornullenzeichen_Click(int index)
{
    if (index < 0 || index >= LeadZeroFillCount)
        return;
    LeadZeroChar = ::leadZeroChar(static_cast<LeadZeroFill>(index));
    const QScopedValueRollback<bool> applying(ChoiceBeingApplied, true);
    ChkSituation();
}

void Form1::StellenAnzahl_Click(int index)
{
    if (index < 0)
        return;
    const QScopedValueRollback<bool> applying(ChoiceBeingApplied, true);
    DigitsText = m_c.StellenAnzahl->itemText(index);
    ChkSituation();
}

// ---- The list ---------------------------------------------------------------------------

void Form1::InitListe()
{
    m_model->InitListe();
}

void Form1::FillListe(PathList paths)
{
    UserInfo(tr("Die Liste wird aufgefüllt ..."));
    m_model->setSortingEnabled(false);
    m_progress.begin(paths.size());
    std::vector<CandidateRow> rows =
        ListIntake::takeIn(std::move(paths), m_model->rows(), *m_services.fileSystem,
                           [this](qsizetype done, qsizetype all) { m_progress.show(done, all); });
    m_model->insertAtTop(std::move(rows));
    m_progress.end();
    // A list sorted by capture time needs the new rows' times first.
    if (m_model->sortColumn() == CandidateModel::ColTakenKey && m_model->rowCount() > 0)
        readFileValues();
    m_model->setSortingEnabled(true);
    InitStellenAnzahl();
    ChkSituation();
#ifdef __GLIBC__
    // The paths, intake's tables and the sort's keys were small blocks between the rows' own:
    // glibc keeps such holes unless asked to give their pages back.
    malloc_trim(0);
#endif
}

void Form1::Liste_OLEDragDrop(const QMimeData* data)
{
    if (m_renaming) {
        Beep::beep();
        return;
    }
    const QString uriList = u"text/uri-list"_s;
    qsizetype notUtf8 = 0;
    PathList paths =
        data && data->hasFormat(uriList) ? UriList::localPaths(data->data(uriList), &notUtf8) : PathList();
    // Text, web addresses or nothing: no file to take in.
    if (paths.isEmpty())
        Beep::beep();
    else
        FillListe(std::move(paths));
    if (notUtf8 > 0)
        UserInfo(ListIntake::notUtf8Hint(notUtf8));
}

void Form1::Liste_ColumnClick(int ColumnHeader)
{
    // Sorting by capture time reads the files first; Esc there cancels the sort as well.
    const int column = ColumnHeader == LastSortColumn ? m_model->sortColumn()
                                                      : CandidateModel::sortColumnOf(ColumnHeader - 1);
    if (column == CandidateModel::ColTakenKey && m_model->rowCount() > 0 && !readFileValues())
        return;
    m_progress.begin(m_model->rowCount());
    if (ColumnHeader == LastSortColumn) {
        // Only the direction flips; a list in a manual order stays in it until sorting is
        // switched on again.
        const Qt::SortOrder flipped =
            m_model->sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        m_model->setSortState(m_model->sortColumn(), flipped);
    } else {
        LastSortColumn = ColumnHeader;
        m_model->setSortState(CandidateModel::sortColumnOf(ColumnHeader - 1), m_model->sortOrder());
        m_model->setSortingEnabled(true);
    }
    m_progress.end();
    ChkSituation();
}

void Form1::EintragVerschieben(bool NachOben)
{
    if (!m_model->moveMarked(NachOben))
        Beep::beep();
    ChkSituationButDelayed();
}

// ---- The rename run and the recent masks ------------------------------------------------

void Form1::UmTaufen()
{
    m_timer1->stop();
    bool stored = true;
    bool undoable = true;
    {
        const QScopedValueRollback<bool> renaming(m_renaming, true);
        UserInfo(tr("Umbenennung läuft ..."));
        m_progress.begin(m_model->rowCount());
        stored = SaveScenario(m_c.Maske->text());

        // Paints and answers the desktop, but takes no input: nothing may change the list now.
        const auto progress = [this](int value) { m_progress.keepAlive(value); };
        const auto askGoOn = [this](const RenameFailure& failure) {
            return MessageBox::okCancel(this, ProgramTitle.toString(), RenameRun::failureText(failure),
                                        RenameRun::reasonText(failure)) == MessageBox::Answer::Ok;
        };
        const RenameRun::Outcome outcome =
            RenameRun::run(*m_model, *m_services.fileSystem, progress, askGoOn, m_journal->sink());

        undoable = !outcome.journalFailed;
        if (DirItState != 0) {
            QString listing;
            for (const QString& name : outcome.renamedNames)
                listing += name + u'\n';
            Clipboard::putText(listing);
        }
        m_progress.end();
    }
    ChkSituation();
    // Said after the check, whose outcome would cover them otherwise; the run itself went on.
    QStringList hints;
    if (!stored)
        hints.append(tr("Hinweis: Die Maske ließ sich nicht unter den zuletzt benutzten speichern."));
    if (!undoable)
        hints.append(RunJournal::notUndoableHint());
    if (!hints.isEmpty())
        UserInfo(hints.join(u' '));
}

void Form1::undoLastRun()
{
    if (m_renaming)
        return;
    m_timer1->stop();
    QStringList restored;
    {
        const QScopedValueRollback<bool> renaming(m_renaming, true);
        UserInfo(tr("Die letzte Umbenennung wird rückgängig gemacht ..."));
        restored = m_undo->run();
    }
    if (restored.isEmpty())
        ChkSituation();
    else
        FillListe(restored);
}

void Form1::DirItCheck_Click()
{
    DirItState = m_c.DirItCheck->isChecked() ? 1 : 0;
}

bool Form1::SaveScenario(const QString& mask)
{
    return RecentMasks(*m_services.settings).save(ScenarioFields::read(m_c, mask));
}

void Form1::LoadScenario(int k)
{
    ScenarioFields::show(m_c, RecentMasks(*m_services.settings).load(k));
}

void Form1::FillMaskMenu()
{
    const QStringList entries = RecentMasks(*m_services.settings).menuEntries();
    const QList<QAction*> items = m_c.pummain->actions();
    for (int k = 0; k < RecentMasks::SlotCount; ++k) {
        // An "&" in a mask is text, not an access key.
        QString caption = entries.at(k);
        items[k]->setText(caption.replace(u'&', u"&&"_s));
        items[k]->setVisible(!entries.at(k).isEmpty());
    }
}

void Form1::ShowMaskMenu()
{
    FillMaskMenu();
    const QList<QAction*> items = m_c.pummain->actions();
    m_c.pummain->setDefaultAction(items[CancelItem]);
    m_c.pummain->popup(QCursor::pos(), items[CancelItem]);
}

void Form1::pum_Click(int index)
{
    if (index >= 1 && index <= RecentMasks::SlotCount)
        LoadScenario(index);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closing in the middle of a run would leave it half done without a word.
    if (m_renaming) {
        event->ignore();
        Beep::beep();
        return;
    }
    QWidget::closeEvent(event);
}

// ---- Buttons and tooltips ---------------------------------------------------------------

void Form1::Btn_Click(int Index)
{
    for (const TokenButton& token : TokenButtons) {
        if (token.index == Index) {
            InsertText(token.token.toString(), 0);
            return;
        }
    }
    switch (static_cast<size_t>(Index)) {
    case Button::ClearList:
        InitListe();
        m_c.Liste->setFocus();
        ChkSituation();
        break;
    case Button::MarkAll:
    case Button::MarkNone:
    case Button::InvertMarks:
        m_selection->ListeSelect(Index == Button::MarkAll    ? CandidateSelection::MarkMode::All
                                 : Index == Button::MarkNone ? CandidateSelection::MarkMode::None
                                                             : CandidateSelection::MarkMode::Invert);
        m_c.Liste->setFocus();
        ChkSituation();
        break;
    case Button::Rename:
        UmTaufen();
        break;
    case Button::Quit:
        QApplication::exit(0);
        break;
    case Button::Help:
        ShowHelp();
        break;
    case Button::ClearMask:
        m_c.Maske->setText(QString());
        m_c.Maske->setFocus();
        break;
    case Button::MoveDown:
    case Button::MoveUp:
        EintragVerschieben(Index == Button::MoveUp);
        break;
    case Button::Options:
        ShowOptions();
        break;
    case Button::EmptyBrackets:
        InsertText(u"[]"_s, -1);
        break;
    case Button::RecentMaskMenu:
        ShowMaskMenu();
        break;
    default:
        break;
    }
}

void Form1::InsertText(const QString& s, int p)
{
    m_c.Maske->insertAtLastSelection(s);
    m_c.Maske->setCursorPosition(m_c.Maske->cursorPosition() + p);
    m_c.Maske->setFocus();
}

void Form1::ToolTipCheck_Click()
{
    const int value = m_c.ToolTipCheck->isChecked() ? 1 : 0;
    m_services.settings->WriteSetting(u"ToolTips"_s, QString::number(value));
    LoadToolTips(value);
}

void Form1::LoadToolTips(int Mode)
{
    ToolTips::apply(m_c, Mode != 0);
}

void Form1::ShowHelp()
{
    // One help window at a time; a second click only brings it to the front.
    if (m_help) {
        m_help->raise();
        m_help->activateWindow();
        return;
    }
    m_help = new HelpForm(m_services.helpFile, this);
    connect(m_help, &HelpForm::aboutRequested, this, &Form1::ShowInfo);
    m_help->show();
}

void Form1::ShowOptions()
{
    OptionForm options(*m_services.shortcuts, QCoreApplication::applicationFilePath(), this);
    options.exec();
}

void Form1::ShowInfo()
{
    MessageBox::information(m_help ? static_cast<QWidget*>(m_help.data()) : this, ProgramTitle.toString(),
                            AboutText());
}
