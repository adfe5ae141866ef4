#pragma once

#include "app/Form1Layout.h"
#include "check/PlanCheck.h"
#include "naming/MaskTranslator.h"

#include <QElapsedTimer>
#include <QWidget>

#include <memory>

class CandidateModel;
class CandidateSelection;
class FileSystem;
class SettingsStore;
class QLineEdit;
class QMimeData;
class QTimer;

// The main window. It owns the working state of a run and coordinates: the handlers keep
// the names under which their rules are known, the rules themselves live in the core
// libraries (naming, list, check), which are tested without a window.
class Form1 final : public QWidget
{
    Q_OBJECT

public:
    // arguments: the command-line words after the program's own path, as the OS passed them.
    // checkDelayMs: the delay of the deferred check; only tests shorten it. Without a file
    // system or settings store the window uses the real ones.
    explicit Form1(QList<QByteArray> arguments = {}, int checkDelayMs = 1500,
                   std::shared_ptr<FileSystem> fileSystem = nullptr,
                   std::shared_ptr<SettingsStore> settings = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    const Form1Controls& controls() const { return m_c; }
    CandidateModel* model() const { return m_model; }
    bool planOk() const { return PlanOk; }
    qint32 startValue() const { return StartValue; }
    qint32 stepValue() const { return StepValue; }
    const QString& digitsText() const { return DigitsText; }
    const QString& leadZeroChar() const { return LeadZeroChar; }

Q_SIGNALS:
    // Emitted at the end of every plan check that ran (not for calls the guard turned away).
    void checkFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class IntakeSource { CommandLine, DroppedFiles };

    void Form_Load();
    void connectHandlers();

    // The plan check and its triggers.
    void ChkSituation();
    void ChkSituationButDelayed();
    void Timer1_Timer();
    void UserInfo(const QString& text);
    void TranslateMaske();
    void FillNewNameColumn();

    // The option fields.
    void ValidateNumericText(QLineEdit* TextFeld, qint32& CurrVal);
    void InitStellenAnzahl();
    void Schreibweise_Click(int index);
    void Vornullenzeichen_Click(int index);
    void StellenAnzahl_Click(int index);

    // The list.
    void InitListe();
    void FillListe(IntakeSource source, const QStringList& paths);
    void Liste_OLEDragDrop(const QMimeData* data);
    void Liste_ColumnClick(int ColumnHeader);
    void EintragVerschieben(bool NachOben);

    // The rename run and the recent masks.
    void UmTaufen();
    void DirItCheck_Click();
    bool SaveScenario(const QString& mask);
    void LoadScenario(int k);
    void FillMaskMenu();
    void ShowMaskMenu();
    void pum_Click(int index);

    // Buttons and tooltips.
    void Btn_Click(int Index);
    void InsertText(const QString& s, int p);
    void ToolTipCheck_Click();
    void LoadToolTips(int Mode);
    void DefTokenBtn(int i, const QString& Token);

    // Repaints the progress bar and the message panel at most every 100 ms during long work.
    void showProgress(qsizetype done, qsizetype total);
    void beginProgress(qsizetype total);
    void endProgress();

    Form1Controls m_c;
    QTimer* m_timer1 = nullptr;
    CandidateModel* m_model = nullptr;
    CandidateSelection* m_selection = nullptr;
    std::shared_ptr<FileSystem> m_fs;
    std::shared_ptr<SettingsStore> m_settings;
    QList<QByteArray> m_arguments;
    QElapsedTimer m_paintClock;

    // Window state shared by the handlers.
    qint32 StartValue = 1;
    qint32 StepValue = 1;
    int LetterCaseIndex = 0;
    QString LeadZeroChar;
    QString DigitsText;
    int MinDigits = 1;
    QString ForbiddenChars;
    QString SlotLetters;
    bool ChoiceBeingApplied = false;
    QStringList CommandLinePaths;
    int LastSortColumn = 0; // header last clicked, counted from 1; 0: none yet
    int DirItState = 0;
    bool m_renaming = false; // a rename run is under way: no input, no delayed check

    // Outcome of the last check.
    MaskTranslation m_mask;
    PlanResult m_plan;
    bool PlanOk = false;
    bool CheckRunning = false;
};
