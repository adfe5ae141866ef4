#pragma once

#include "platform/UiLanguage.h"

#include <QMainWindow>

#include <array>

class QPushButton;
class QTextBrowser;

// The help window: shows the manual, read once when the window opens. Modeless;
// it deletes itself when closed, so the next opening reads the file again. It opens centred
// over the window it belongs to, and Escape closes it, as a dialog.
class HelpForm final : public QMainWindow
{
    Q_OBJECT

public:
    explicit HelpForm(const QString& helpFile, QWidget* parent = nullptr);

    // Where the manual in `language` lies: beside the program, or in the installed data folder
    // (<prefix>/share/velto beside <prefix>/bin), help.rtf in German and help.en.rtf in English,
    // the German one where the English one is missing. The first that exists, else the first.
    static QString defaultHelpFile(Language language);

    // The largest manual that is read, many times the shipped one. Only a regular file (or a
    // link to one) up to this size is read; anything else is told in the window like a
    // missing file, so a FIFO or a device never holds the window up.
    static constexpr qint64 MaxHelpBytes = 4 * 1024 * 1024;

Q_SIGNALS:
    // "&Über ...": the main window shows its information box.
    void aboutRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load(const QString& helpFile);
    void Command1_Click(int Index);

    QTextBrowser* Text1 = nullptr;
    std::array<QPushButton*, 2> Command1{}; // 0 "&OK", 1 "&Über ..."
};
