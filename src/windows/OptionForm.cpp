#include "windows/OptionForm.h"

#include "platform/ErrorText.h"
#include "platform/ShortcutService.h"
#include "widgets/MessageBox.h"
#include "widgets/ProgramTitle.h"
#include "widgets/Twips.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
using Twips::place;
using Twips::px;

OptionForm::OptionForm(ShortcutService& shortcuts, QString target, QWidget* parent)
    : QDialog(parent), m_shortcuts(shortcuts), m_target(std::move(target))
{
    setObjectName(u"OptionForm"_s);
    setModal(true);
    setFixedSize(px(this, 4605), px(this, 2205));

    auto* frame = new QGroupBox(tr("Verknüpfungen"), this);
    frame->setObjectName(u"Frame1"_s);
    place(frame, 60, 60, 4455, 1575);
    auto* label = new QLabel(tr("Erstelle eine Verknüpfung mit Velto ..."), frame);
    label->setObjectName(u"Label1"_s);
    // The sentence needs more room than its place in a narrow dialog font; it may run on to
    // the frame's right edge.
    place(label, 180, 300, 4155, 195);

    const std::pair<QString, std::array<int, 4>> boxes[] = {
        {tr("... auf der &Arbeitsoberfläche (Desktop)"), {180, 600, 3615, 315}},
        {tr("... im Kontextmenü \"&Senden an\""), {180, 1020, 3075, 315}}};
    for (size_t i = 0; i < ShortCutChk.size(); ++i) {
        const auto& [caption, at] = boxes[i];
        ShortCutChk[i] = new QCheckBox(caption, frame);
        ShortCutChk[i]->setObjectName(u"ShortCutChk_"_s + QString::number(i));
        // Named by its own caption like every other control; the sentence it continues is
        // there to be read on request.
        ShortCutChk[i]->setAccessibleName(Twips::plainCaption(caption));
        ShortCutChk[i]->setAccessibleDescription(label->text());
        place(ShortCutChk[i], at[0], at[1], at[2], at[3]);
    }

    const std::pair<QString, int> buttons[] = {{tr("&OK"), 3600}, {tr("&Abbruch"), 2580}};
    for (size_t i = 0; i < OptBtn.size(); ++i) {
        OptBtn[i] =
            Twips::arrayButton(this, u"OptBtn"_s, i, buttons[i].first, buttons[i].second, 1740, 915, 375);
        connect(OptBtn[i], &QPushButton::clicked, this, [this, i] { OptBtn_Click(static_cast<int>(i)); });
    }
    OptBtn[0]->setDefault(true);
    setTabOrder(ShortCutChk[0], ShortCutChk[1]);
    setTabOrder(ShortCutChk[1], OptBtn[1]);
    setTabOrder(OptBtn[1], OptBtn[0]);
    Form_Load();
}

void OptionForm::Form_Load()
{
    //: The window's title; %1 is the program's name and version.
    setWindowTitle(tr("%1 - Optionen").arg(ProgramTitle));
}

void OptionForm::OptBtn_Click(int Index)
{
    if (Index == 0) {
        CreateShortcuts(ShortCutChk[0]->isChecked() ? 1 : 0, ShortCutChk[1]->isChecked() ? 1 : 0);
        accept();
    } else {
        reject();
    }
}

void OptionForm::CreateShortcuts(int desktop, int sendTo)
{
    // A failed desktop shortcut does not keep the other one; the user hears of both at the end,
    // in one box.
    QStringList failures;
    const auto create = [&](const QString& folder, QStringView name) {
        const ShortcutResult result =
            m_shortcuts.fCreateShellLink(folder, name.toString(), m_target, QString());
        if (result.error != 0) {
            failures.append(tr("Folgende Verknüpfung ließ sich nicht anlegen:") + u"\n\n"_s +
                            QDir::toNativeSeparators(result.file) + u'\n' + reasonText(result.error));
        }
    };
    if (desktop != 0)
        create(uR"(..\..\desktop)"_s, ShortcutService::LinkName);
    if (sendTo != 0) {
        create(uR"(..\..\sendto)"_s, ShortcutService::LinkName);
        // "Open With" offers the entry only for files without a type of their own; Nautilus
        // lists the user's scripts for every file.
        create(uR"(..\..\nautilus-scripts)"_s, ShortcutService::ScriptName);
    }
    if (!failures.isEmpty())
        MessageBox::warning(this, ProgramTitle.toString(), failures.join(u"\n\n"_s));
}

QString OptionForm::reasonText(int error)
{
    return errorText(error, FileOperation::Write);
}
