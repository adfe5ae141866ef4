#pragma once

#include "app/Form1Layout.h"
#include "app/LastRunUndo.h"
#include "app/ProgressPainter.h"
#include "list/PathList.h"
#include "plan/PlanCheck.h"
#include "plan/WindowJournal.h"
#include "platform/MetadataPool.h"
#include "naming/MaskTranslator.h"
#include "windows/HelpForm.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class CandidateModel;
class FileValueReading;
class CandidateSelection;
class FileSystem;
class ListContextMenu;
class SettingsStore;
class ShortcutService;
class QLineEdit;
class QMimeData;
class QTimer;

// What the main window works with outside itself; tests give their own. Left empty, each
// is the real one.
struct Form1Services
{
    std::shared_ptr<FileSystem> fileSystem;
    std::shared_ptr<SettingsStore> settings;
    std::shared_ptr<ShortcutService> shortcuts;
    QString helpFile;
    QString journalFolder; // the folder of the run journals; empty: the one below XDG_STATE_HOME
    // The program that reads values from inside the files; empty: velto-metadata of this Velto.
    QString metadataHelper;
    int metadataTimeoutMs = MetadataPool::DefaultTimeoutMs; // per file
};

// The main window. It owns the working state of a run and coordinates: the handlers keep
// the names under which their rules are known, the rules themselves live in the core
// libraries (naming, list, plan), which are tested without a window.
class Form1 final : public QMainWindow
{
    Q_OBJECT

public:
    // arguments: the command-line words after the program's own path, as the OS passed them.
    // checkDelayMs: the delay of the deferred check; only tests shorten it.
    explicit Form1(QList<QByteArray> arguments = {}, int checkDelayMs = 1500, Form1Services services = {},
                   QWidget* parent = nullptr);
    ~Form1() override;

    const Form1Controls& controls() const { return m_c; }
    CandidateModel* model() const { return m_model; }
    bool planOk() const { return PlanOk; }
    qint32 startValue() const { return StartValue; }
    qint32 stepValue() const { return StepValue; }
    const QString& digitsText() const { return DigitsText; }
    const QString& leadZeroChar() const { return LeadZeroChar; }
    HelpForm* helpForm() const { return m_help; }

Q_SIGNALS:
    // Emitted at the end of every plan check that ran (not for calls the guard turned away).
    void checkFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void connectHandlers();

    // The plan check and its triggers.
    void ChkSituation();
    void ChkSituationButDelayed();
    void Timer1_Timer();
    void UserInfo(const QString& text);
    void TranslateMaske();
    void FillNewNameColumn();
    // Reads the values of every row not read yet; false when the user stopped it with Esc.
    bool readFileValues();

    // The option fields.
    void ValidateNumericText(QLineEdit* TextFeld, qint32& CurrVal);
    void InitStellenAnzahl();
    void Schreibweise_Click(int index);
    void Vornullenzeichen_Click(int index);
    void StellenAnzahl_Click(int index);

    // The list.
    void InitListe();
    void FillListe(PathList paths);
    void Liste_OLEDragDrop(const QMimeData* data);
    void Liste_ColumnClick(int ColumnHeader);
    void EintragVerschieben(bool NachOben);
    // Ctrl+Z and the list menu: the last run taken back, its files back in the list.
    void undoLastRun();

    // The rename run and the recent masks.
    void UmTaufen();
    void DirItCheck_Click();
    bool SaveScenario(const QString& mask);
    void LoadScenario(int k);
    void FillMaskMenu();
    void ShowMaskMenu();
    void pum_Click(int index);

    // Buttons, tooltips and the other windows.
    void Btn_Click(int Index);
    void InsertText(const QString& s, int p);
    void ToolTipCheck_Click();
    void LoadToolTips(int Mode);
    void ShowHelp();
    void ShowOptions();
    void ShowInfo();

    Form1Controls m_c;
    QTimer* m_timer1 = nullptr;
    CandidateModel* m_model = nullptr;
    CandidateSelection* m_selection = nullptr;
    Form1Services m_services;
    QList<QByteArray> m_arguments;
    ProgressPainter m_progress;
    ListContextMenu* m_listMenu = nullptr;
    std::unique_ptr<WindowJournal> m_journal;
    std::unique_ptr<LastRunUndo> m_undo;
    std::unique_ptr<MetadataSource> m_metadata;
    std::unique_ptr<FileValueReading> m_reading;
    QPointer<HelpForm> m_help;

    // Window state shared by the handlers.
    qint32 StartValue = 1;
    qint32 StepValue = 1;
    CaseRule LetterCaseIndex = CaseRule::Keep;
    QString LeadZeroChar;
    QString DigitsText;
    int MinDigits = 1;
    bool ChoiceBeingApplied = false;
    PathList CommandLinePaths;
    int LastSortColumn = 0; // header last clicked, counted from 1; 0: none yet
    int DirItState = 0;
    bool m_renaming = false;      // a rename run is under way: no input, no delayed check
    bool m_readingValues = false; // files are read: no input but Esc, no check

    // Outcome of the last check.
    MaskTranslation m_mask;
    PlanResult m_plan;
    bool PlanOk = false;
    bool CheckRunning = false;
};
