#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QPushButton;
class ShortcutService;

// The options window: places shortcuts to Velto on the desktop and in the file manager's
// menu for opening files (with a script for Nautilus beside it). Modal; both boxes start
// unticked at every opening, and nothing of it is kept.
class OptionForm final : public QDialog
{
    Q_OBJECT

public:
    // target: the program the shortcuts start, an absolute path.
    OptionForm(ShortcutService& shortcuts, QString target, QWidget* parent = nullptr);

private:
    void Form_Load();
    void OptBtn_Click(int Index);
    // Creates the ticked shortcuts; a warning names each entry that could not be written.
    void CreateShortcuts(int desktop, int sendTo);
    // Why an entry could not be written, for the user: errno values of the shortcut service.
    static QString reasonText(int error);

    ShortcutService& m_shortcuts;
    QString m_target;
    std::array<QPushButton*, 2> OptBtn{};    // 0 "&OK", 1 "&Abbruch"
    std::array<QCheckBox*, 2> ShortCutChk{}; // 0 desktop, 1 send-to
};
