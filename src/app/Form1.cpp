#include "app/Form1.h"

#include "app/CandidateView.h"
#include "app/FormLineEdit.h"
#include "app/MessageBox.h"
#include "app/RecentMasks.h"
#include "check/RenameRun.h"
#include "list/CandidateModel.h"
#include "list/CandidateSelection.h"
#include "list/ListIntake.h"
#include "list/UriList.h"
#include "naming/CounterRules.h"
#include "platform/Beep.h"
#include "platform/Clipboard.h"
#include "platform/PosixFileSystem.h"
#include "platform/Settings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>

#include <map>

using namespace Qt::StringLiterals;

namespace {

constexpr int ProgressRepaintMs = 100;

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

Form1::Form1(QList<QByteArray> arguments, int checkDelayMs, std::shared_ptr<FileSystem> fileSystem,
             std::shared_ptr<SettingsStore> settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_c(buildForm1Layout(this)),
      m_timer1(new QTimer(this)),
      m_model(new CandidateModel(this)),
      m_fs(fileSystem ? std::move(fileSystem) : std::make_shared<PosixFileSystem>()),
      m_settings(settings ? std::move(settings) : std::make_shared<Settings>()),
      m_arguments(std::move(arguments))
{
    m_timer1->setObjectName(u"Timer1"_s);
    m_timer1->setSingleShot(true);
    m_timer1->setInterval(checkDelayMs);

    m_c.Liste->setModel(m_model);
    configureListColumns(m_c.Liste);
    m_selection = new CandidateSelection(m_model, m_c.Liste->selectionModel(), this);

    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
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
    for (QLineEdit* field : {m_c.Zahl, m_c.Schrittweite, m_c.SucheText, m_c.ErsetzeText})
        connect(field, &QLineEdit::textChanged, this, &Form1::ChkSituationButDelayed);
    connect(m_c.Schreibweise, &QComboBox::currentIndexChanged, this, &Form1::Schreibweise_Click);
    connect(m_c.Vornullenzeichen, &QComboBox::currentIndexChanged, this, &Form1::Vornullenzeichen_Click);
    connect(m_c.StellenAnzahl, &QComboBox::currentIndexChanged, this, &Form1::StellenAnzahl_Click);
    connect(m_c.ToolTipCheck, &QCheckBox::toggled, this, &Form1::ToolTipCheck_Click);
    connect(m_c.DirItCheck, &QCheckBox::toggled, this, &Form1::DirItCheck_Click);
    connect(m_c.pummain, &QMenu::triggered, this,
            [this](QAction* item) { pum_Click(static_cast<int>(m_c.pummain->actions().indexOf(item)) + 1); });
    connect(m_timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(m_c.Liste, &CandidateView::dataDropped, this, &Form1::Liste_OLEDragDrop);
    connect(m_c.Liste->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { Liste_ColumnClick(section + 1); });
    // Marks changed with the mouse or the keyboard are checked after the delay.
    connect(m_selection, &CandidateSelection::marksChangedByUser, this, &Form1::ChkSituationButDelayed);
}

void Form1::Form_Load()
{
    setWindowTitle(u"Velto 1.6"_s);
    ForbiddenChars = u"<>|\\/:?\""_s;
    StartValue = 1;
    m_c.Zahl->setText(CounterRules::numberText(StartValue));
    StepValue = 1;
    m_c.Schrittweite->setText(u"1"_s);
    m_c.Maske->setText(u"[NAME][TYP]"_s);
    if (m_settings->ReadSetting(u"ToolTips"_s, u"0"_s).trimmed() == u"1")
        m_c.ToolTipCheck->setChecked(true);

    SlotLetters = RecentMasks::SlotLetters();

    refill(m_c.Schreibweise, {u"beibehalten"_s, u"alles groß"_s, u"alles klein"_s, u"anfangs groß"_s});
    m_c.Schreibweise->setCurrentIndex(0);
    InitStellenAnzahl();
    refill(m_c.Vornullenzeichen, {u"keine"_s, u"Null"_s, u"Leerzeichen"_s, u"Unterstrich"_s});
    m_c.Vornullenzeichen->setCurrentIndex(0);

    for (int i = 2; i <= 32; ++i) {
        QAction* item = m_c.pummain->addAction(QString());
        item->setObjectName(u"pum_"_s + QString::number(i));
        item->setVisible(i > 30);
    }
    const QList<QAction*> items = m_c.pummain->actions();
    items[30]->setText(u"-"_s);
    items[30]->setSeparator(true);
    items[31]->setText(u"Abbrechen"_s);

    m_timer1->stop();
    InitListe();
    ChkSituation();

    CommandLinePaths = ListIntake::SplitCommandLine(m_arguments);
    if (!CommandLinePaths.isEmpty())
        FillListe(IntakeSource::CommandLine, CommandLinePaths);
}

// ---- The plan check ---------------------------------------------------------------------

void Form1::ChkSituation()
{
    if (CheckRunning)
        return;
    CheckRunning = true;
    m_c.StatusPanel[0]->setText(u"..."_s);
    const bool hasRows = m_model->rowCount() > 0;
    if (!ChoiceBeingApplied) {
        ValidateNumericText(m_c.Zahl, StartValue);
        ValidateNumericText(m_c.Schrittweite, StepValue);
        InitStellenAnzahl();
    }
    TranslateMaske();
    FillNewNameColumn();

    if (m_mask.MaskOk && hasRows) {
        const QString failure = PlanCheck::failureMessage(m_plan);
        if (!failure.isEmpty())
            UserInfo(failure);
    }
    PlanOk = hasRows && m_mask.MaskOk && m_plan.allPassed();
    if (PlanOk)
        UserInfo(PlanCheck::successMessage(m_c.Btn[8]->text()));
    m_c.Btn[8]->setEnabled(PlanOk);
    m_c.StatusPanel[0]->setText(PlanCheck::countText(m_plan.MarkedCount, m_model->rowCount()));

    const auto& rows = m_model->rows();
    if (m_plan.MarkedCount != 0 && !rows.empty()) {
        m_c.Btn[12]->setEnabled(!rows.back().Marked);
        m_c.Btn[13]->setEnabled(!rows.front().Marked);
    } else {
        m_c.Btn[12]->setEnabled(false);
        m_c.Btn[13]->setEnabled(false);
    }
    CheckRunning = false;
    Q_EMIT checkFinished();
}

void Form1::ChkSituationButDelayed()
{
    m_c.Btn[8]->setEnabled(false);
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
    m_mask = MaskTranslator::translate(m_c.Maske->text(), ForbiddenChars);
    if (m_mask.error)
        UserInfo(MaskTranslator::errorText(static_cast<int>(*m_mask.error)));
}

void Form1::FillNewNameColumn()
{
    const NamingOptions options{StartValue,         StepValue,
                                DigitsText,         LeadZeroChar,
                                LetterCaseIndex,    m_c.SucheText->text(),
                                m_c.ErsetzeText->text()};
    if (!m_mask.MaskOk) {
        m_plan = PlanCheck::FillNewNameColumn(m_model->rowsForUpdate(), m_mask, options, *m_fs);
        m_model->newNamesChanged();
        if (m_mask.MaskEmpty)
            UserInfo(QString());
        return;
    }
    UserInfo(u"Überprüfung der vorgesehenen Namen ... "_s);
    const qsizetype total = m_model->rowCount();
    if (total != 0)
        beginProgress(total);
    m_plan = PlanCheck::FillNewNameColumn(m_model->rowsForUpdate(), m_mask, options, *m_fs,
                                          [this](qsizetype done, qsizetype all) { showProgress(done, all); });
    m_model->newNamesChanged();
    if (total != 0)
        endProgress();
    UserInfo(QString());
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
    LetterCaseIndex = index;
    ChkSituation();
}

void Form1::Vornullenzeichen_Click(int index)
{
    static const QString fill[] = {QString(), u"0"_s, u" "_s, u"_"_s};
    if (index < 0 || index >= static_cast<int>(std::size(fill)))
        return;
    LeadZeroChar = fill[index];
    ChoiceBeingApplied = true;
    ChkSituation();
    ChoiceBeingApplied = false;
}

void Form1::StellenAnzahl_Click(int index)
{
    if (index < 0)
        return;
    ChoiceBeingApplied = true;
    DigitsText = m_c.StellenAnzahl->itemText(index);
    ChkSituation();
    ChoiceBeingApplied = false;
}

// ---- The list ---------------------------------------------------------------------------

void Form1::InitListe()
{
    m_model->InitListe();
}

void Form1::FillListe(IntakeSource source, const QStringList& paths)
{
    Q_UNUSED(source); // both sources deliver whole paths here
    UserInfo(u"Die Liste wird aufgefüllt ..."_s);
    m_model->setSortingEnabled(false);
    beginProgress(paths.size());
    std::vector<CandidateRow> rows =
        ListIntake::takeIn(paths, m_model->rows(), *m_fs,
                           [this](qsizetype done, qsizetype total) { showProgress(done, total); });
    m_model->insertAtTop(std::move(rows));
    endProgress();
    m_model->setSortingEnabled(true);
    InitStellenAnzahl();
    ChkSituation();
}

void Form1::Liste_OLEDragDrop(const QMimeData* data)
{
    if (m_renaming) {
        Beep::beep();
        return;
    }
    const QString uriList = u"text/uri-list"_s;
    const QStringList paths =
        data && data->hasFormat(uriList) ? UriList::localFilePaths(data->data(uriList)) : QStringList();
    // Text, web addresses or nothing: no file to take in.
    if (paths.isEmpty()) {
        Beep::beep();
        return;
    }
    FillListe(IntakeSource::DroppedFiles, paths);
}

void Form1::Liste_ColumnClick(int ColumnHeader)
{
    if (ColumnHeader == LastSortColumn) {
        // Only the direction flips; a list in a manual order stays in it until sorting is
        // switched on again.
        const Qt::SortOrder flipped =
            m_model->sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        m_model->setSortState(m_model->sortColumn(), flipped);
    } else {
        LastSortColumn = ColumnHeader;
        // Size and date sort by their hidden keys, which order by value.
        int column = ColumnHeader - 1;
        if (column == CandidateModel::ColSize)
            column = CandidateModel::ColSizeKey;
        else if (column == CandidateModel::ColDate)
            column = CandidateModel::ColDateKey;
        m_model->setSortState(column, m_model->sortOrder());
        m_model->setSortingEnabled(true);
    }
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
    m_renaming = true;
    m_c.Bar->setRange(0, m_model->rowCount());
    m_c.Bar->setValue(0);
    UserInfo(u"Umbenennung läuft ..."_s);
    m_c.StatusPanel[1]->repaint();
    const bool stored = SaveScenario(m_c.Maske->text());

    m_paintClock.start();
    const auto progress = [this](int value) {
        if (m_paintClock.elapsed() < ProgressRepaintMs)
            return;
        m_c.Bar->setValue(value);
        // Paint and answer the desktop, but take no input: nothing may change the list now.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_paintClock.restart();
    };
    const auto askGoOn = [this](const RenameFailure& failure) {
        return MessageBox::okCancel(this, u"Velto 1.6"_s, RenameRun::failureText(failure),
                                    RenameRun::reasonText(failure.error)) == MessageBox::Answer::Ok;
    };
    const RenameRun::Outcome outcome = RenameRun::run(*m_model, *m_fs, progress, askGoOn);

    if (DirItState != 0) {
        QString listing;
        for (const QString& name : outcome.renamedNames)
            listing += name + u'\n';
        Clipboard::putText(listing);
    }
    m_c.Bar->setValue(0);
    m_renaming = false;
    ChkSituation();
    // Said after the check, whose outcome would cover it otherwise; the run itself went on.
    if (!stored)
        UserInfo(u"Hinweis: Die Maske ließ sich nicht unter den zuletzt benutzten speichern."_s);
}

void Form1::DirItCheck_Click()
{
    DirItState = m_c.DirItCheck->isChecked() ? 1 : 0;
}

bool Form1::SaveScenario(const QString& mask)
{
    RenameSettings scenario;
    scenario.Maske = mask;
    scenario.Start = m_c.Zahl->text();
    scenario.Step = m_c.Schrittweite->text();
    scenario.Digits = m_c.StellenAnzahl->currentIndex();
    scenario.LeadZeros = m_c.Vornullenzeichen->currentIndex();
    scenario.LetterCase = m_c.Schreibweise->currentIndex();
    scenario.Search = m_c.SucheText->text();
    scenario.Replace = m_c.ErsetzeText->text();
    scenario.DirIt = m_c.DirItCheck->isChecked() ? 1 : 0;
    return RecentMasks(*m_settings).save(scenario);
}

void Form1::LoadScenario(int k)
{
    const RenameSettings scenario = RecentMasks(*m_settings).load(k);
    // Each change raises the field's own handler, in this order.
    m_c.Maske->setText(scenario.Maske);
    m_c.Zahl->setText(scenario.Start);
    m_c.Schrittweite->setText(scenario.Step);
    m_c.StellenAnzahl->setCurrentIndex(scenario.Digits < m_c.StellenAnzahl->count() ? scenario.Digits : 0);
    m_c.Vornullenzeichen->setCurrentIndex(scenario.LeadZeros);
    m_c.Schreibweise->setCurrentIndex(scenario.LetterCase);
    m_c.SucheText->setText(scenario.Search);
    m_c.ErsetzeText->setText(scenario.Replace);
    m_c.DirItCheck->setChecked(scenario.DirIt != 0);
}

void Form1::FillMaskMenu()
{
    const QStringList entries = RecentMasks(*m_settings).menuEntries();
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
    m_c.pummain->setDefaultAction(items[31]);
    m_c.pummain->popup(QCursor::pos(), items[31]);
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
    static const std::map<int, QString> tokens = {
        {4, u"[NAME]"_s},  {5, u"[TYP]"_s},     {6, u"[ZAHL]"_s},   {7, u"[S]"_s},
        {15, u"[JAHR]"_s}, {16, u"[MONAT]"_s},  {17, u"[TAG]"_s},   {18, u"[RDATUM]"_s},
        {19, u"[DATUM]"_s}, {20, u"[M]"_s},     {21, u"[H]"_s},     {22, u"[ZEIT]"_s}};
    if (const auto token = tokens.find(Index); token != tokens.end()) {
        InsertText(token->second, 0);
        return;
    }
    switch (Index) {
    case 0:
        InitListe();
        m_c.Liste->setFocus();
        ChkSituation();
        break;
    case 1:
    case 2:
    case 3:
        m_selection->ListeSelect(Index == 1 ? 1 : Index == 2 ? 0 : 2);
        m_c.Liste->setFocus();
        ChkSituation();
        break;
    case 8:
        UmTaufen();
        break;
    case 9:
        QApplication::exit(0);
        break;
    case 12:
    case 13:
        EintragVerschieben(Index == 13);
        break;
    case 11:
        m_c.Maske->setText(QString());
        m_c.Maske->setFocus();
        break;
    case 23:
        InsertText(u"[]"_s, -1);
        break;
    case 24:
        ShowMaskMenu();
        break;
    default:
        // Help and options come with their own windows.
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
    m_settings->WriteSetting(u"ToolTips"_s, QString::number(value));
    LoadToolTips(value);
}

void Form1::DefTokenBtn(int i, const QString& Token)
{
    m_c.Btn[static_cast<size_t>(i)]->setToolTip(u"Fügt das Token "_s + Token + u" in die Maske ein"_s);
}

void Form1::LoadToolTips(int Mode)
{
    // One table serves both ways, so that clearing reaches every control that setting does.
    const std::pair<QWidget*, QString> tips[] = {
        {m_c.Liste, u"Namen der umzubenennenden Dateien in diese Liste ziehen"_s},
        {m_c.Schreibweise, u"Legt Groß- und/oder Kleinschreibung der neuen Namen fest"_s},
        {m_c.Btn[0], u"Löscht alle Dateinamen in der obenstehenden Liste"_s},
        {m_c.Btn[1], u"Markiert alle Dateien in der Liste als ausgewählt"_s},
        {m_c.Btn[2], u"Löscht alle Dateimarkierungen"_s},
        {m_c.Btn[3], u"Kehrt die aktuelle Dateiauswahl um"_s},
        {m_c.Btn[23], u"Fügt eine leere Klammer in die Maske ein und positioniert den Cursor darin"_s},
        {m_c.Btn[8], u"Startet die Umbenennung aller markierten Dateien in der Liste"_s},
        {m_c.Btn[9], u"Beendet das Programm"_s},
        {m_c.Btn[10], u"Gibt Zusatzinfos über das Programm"_s},
        {m_c.Btn[11], u"Löscht die Maske komplett"_s},
        {m_c.Btn[13], u"Bewegt alle markierten Einträge um eine Position nach oben"_s},
        {m_c.Btn[12], u"Bewegt alle markierten Einträge um eine Position nach unten"_s},
        {m_c.Btn[24], u"Blendet ein Menü mit den zuletzt benutzten Masken ein"_s},
        {m_c.Bar, u"Zeigt den aktuellen Verarbeitungsstand an"_s},
        {m_c.Zahl, u"Tragen Sie hier den Startwert für den Dateizähler ein"_s},
        {m_c.Vornullenzeichen, u"hier legen Sie das für Vornullen zu verwendende Zeichen fest"_s},
        {m_c.StatusPanel[0], u"Anzahl der Dateien in der Liste"_s},
        {m_c.StatusPanel[1], u"Programmstatus und Hinweise für den Anwender"_s},
        {m_c.ToolTipCheck, u"Schaltet die Tooltips ein oder aus"_s},
        {m_c.DirItCheck,
         u"Markieren Sie diese Option, um alle Umbenennungen in die Zwischenablage zu kopieren."_s}};
    if (Mode == 0) {
        for (const auto& [control, tip] : tips)
            control->setToolTip(QString());
        for (QPushButton* b : m_c.Btn)
            b->setToolTip(QString());
        return;
    }
    for (const auto& [control, tip] : tips)
        control->setToolTip(tip);
    DefTokenBtn(4, u"[NAME]"_s);
    DefTokenBtn(5, u"[TYP]"_s);
    DefTokenBtn(6, u"[ZAHL]"_s);
    DefTokenBtn(19, u"[DATUM]"_s);
    DefTokenBtn(18, u"[RDATUM]"_s);
    DefTokenBtn(22, u"[ZEIT]"_s);
    DefTokenBtn(17, u"[TAG]"_s);
    DefTokenBtn(16, u"[MONAT]"_s);
    DefTokenBtn(15, u"[JAHR]"_s);
    DefTokenBtn(21, u"[H] (entspricht [STUNDE])"_s);
    DefTokenBtn(20, u"[M] (entspricht [MINUTE])"_s);
    DefTokenBtn(7, u"[S] (entspricht [SEKUNDE])"_s);
}

// ---- Progress ---------------------------------------------------------------------------

void Form1::beginProgress(qsizetype total)
{
    m_c.Bar->setRange(0, static_cast<int>(qMin<qsizetype>(total, INT_MAX)));
    m_c.Bar->setValue(0);
    // The message that says what runs is shown before the work starts.
    m_c.StatusPanel[1]->repaint();
    m_c.Bar->repaint();
    m_paintClock.start();
}

void Form1::showProgress(qsizetype done, qsizetype total)
{
    Q_UNUSED(total);
    // Runs synchronously inside the intake or the check: only the bar and the message are
    // repainted, no event is taken, so nothing can change the list meanwhile.
    if (m_paintClock.elapsed() < ProgressRepaintMs)
        return;
    m_c.Bar->setValue(static_cast<int>(qMin<qsizetype>(done, m_c.Bar->maximum())));
    m_c.Bar->repaint();
    m_c.StatusPanel[1]->repaint();
    m_paintClock.restart();
}

void Form1::endProgress()
{
    m_c.Bar->setValue(0);
}
