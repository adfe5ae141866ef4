#include "windows/HelpForm.h"

#include "document/RtfReader.h"
#include "document/RtfTextDocument.h"
#include "platform/StoredFile.h"
#include "widgets/Twips.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>

#include <algorithm>

using namespace Qt::StringLiterals;
using Twips::place;
using Twips::px;

namespace {

// The place of a window of `size` centred over `over` and kept on its screen, as Qt places a
// dialog. The frame the window manager adds is not known before the window is shown; it is
// taken to be the one `over` has. (Wayland lets no program place its windows.)
QPoint centredOver(const QWidget* over, QSize size)
{
    const QRect frame = over->frameGeometry();
    const QSize outer = size + frame.size() - over->size();
    QPoint topLeft =
        frame.topLeft() + QPoint((frame.width() - outer.width()) / 2, (frame.height() - outer.height()) / 2);
    if (const QScreen* screen = over->screen()) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(
            std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())));
        topLeft.setY(
            std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
    }
    return topLeft;
}

} // namespace

HelpForm::HelpForm(const QString& helpFile, QWidget* parent) : QMainWindow(parent, Qt::Window)
{
    setObjectName(u"HelpForm"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(px(this, 6570), px(this, 4950));
    auto* client = new QWidget(this);
    client->setObjectName(u"HelpFormClient"_s);
    setCentralWidget(client);

    auto* frame = new QGroupBox(tr("Anleitung"), client);
    frame->setObjectName(u"Frame1"_s);
    place(frame, 60, 60, 6432, 4332);
    Text1 = new QTextBrowser(frame);
    Text1->setObjectName(u"Text1"_s);
    Text1->setAccessibleName(tr("Anleitung"));
    Text1->setOpenLinks(false);
    // Lines break between words only. Breaking a word that is wider than the view takes Qt
    // time growing with the square of the word's length, minutes for a file that is one word.
    Text1->setWordWrapMode(QTextOption::WordWrap);
    place(Text1, 120, 240, 6192, 3972);

    const std::pair<QString, int> buttons[] = {{tr("&OK"), 5220}, {tr("&Über ..."), 3840}};
    for (size_t i = 0; i < Command1.size(); ++i) {
        Command1[i] = Twips::arrayButton(client, u"Command1"_s, i, buttons[i].first, buttons[i].second, 4500,
                                         1272, 372);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(static_cast<int>(i)); });
    }
    setTabOrder(Text1, Command1[1]);
    setTabOrder(Command1[1], Command1[0]);
    if (parent)
        move(centredOver(parent->window(), size()));
    Form_Load(helpFile);
}

QString HelpForm::defaultHelpFile(Language language)
{
    const QString folder = QCoreApplication::applicationDirPath();
    QStringList candidates;
    // The German manual stands in where the English one is missing.
    if (language == Language::English)
        candidates << folder + u"/help.en.rtf"_s << folder + u"/../share/velto/help.en.rtf"_s;
    candidates << folder + u"/help.rtf"_s << folder + u"/../share/velto/help.rtf"_s;
    for (const QString& candidate : std::as_const(candidates)) {
        if (QFile::exists(candidate))
            return candidate;
    }
    return candidates[0];
}

void HelpForm::Form_Load(const QString& helpFile)
{
    const std::optional<QByteArray> rtf = StoredFile::read(helpFile, MaxHelpBytes);
    const RtfDocument document = RtfReader::parse(rtf.value_or(QByteArray()));
    const bool hasText = std::any_of(document.paragraphs.cbegin(), document.paragraphs.cend(),
                                     [](const RtfParagraph& paragraph) { return !paragraph.runs.empty(); });
    if (hasText) {
        RtfTextDocument::fill(*Text1->document(), document);
        // Filling carries the view's cursor along to the end, and the view scrolls after it.
        Text1->moveCursor(QTextCursor::Start);
    } else {
        const QString why =
            rtf ? tr("Die Anleitung ließ sich nicht lesen: „%1“ enthält keinen Text.")
                : tr("Die Anleitung wurde nicht gefunden: „%1“ fehlt oder lässt sich nicht öffnen.");
        Text1->setPlainText(why.arg(QDir::toNativeSeparators(helpFile)));
    }
    setWindowTitle(tr("Hilfe"));
}

void HelpForm::keyPressEvent(QKeyEvent* event)
{
    // The view passes on the keys it has no use for.
    if (event->matches(QKeySequence::Cancel))
        close();
    else
        QMainWindow::keyPressEvent(event);
}

void HelpForm::Command1_Click(int Index)
{
    if (Index == 1)
        Q_EMIT aboutRequested();
    else
        close();
}
