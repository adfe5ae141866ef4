#include "app/Form1Layout.h"

#include "app/CandidateView.h"
#include "app/Form1.h"
#include "app/FormLineEdit.h"
#include "app/TokenButtons.h"
#include "list/CandidateModel.h"
#include "widgets/PngPictures.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Twips::place;
using Twips::px;

QString indexed(const char* name, int index)
{
    return QString::fromLatin1(name) + u'_' + QString::number(index);
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption, int l, int t, int w, int h)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    place(box, l, t, w, h);
    return box;
}

QLabel* label(QWidget* parent, int index, const QString& caption, int l, int t, int w, int h)
{
    auto* text = new QLabel(caption, parent);
    text->setObjectName(indexed("Label1", index));
    text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Right-aligned, the text ends where the layout puts it; the room to the left is only
    // widened so that a wider font does not cut the first letters.
    constexpr int FrameMargin = 60;
    place(text, FrameMargin, t, w + l - FrameMargin, h);
    return text;
}

FormLineEdit* field(QWidget* parent, const QString& name, FormLineEdit::Kind kind, int maxLength, int l,
                    int t, int w, int h)
{
    auto* edit = new FormLineEdit(kind, parent);
    edit->setObjectName(name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    place(edit, l, t, w, h);
    return edit;
}

QComboBox* choice(QWidget* parent, const QString& name, int l, int t, int w, int h)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(false);
    place(box, l, t, w, h);
    return box;
}

// The width a cell of the list needs to show `text` whole, by the style's own measure.
int cellWidth(const CandidateView* liste, const QString& text)
{
    QStyleOptionViewItem option;
    option.initFrom(liste);
    option.font = liste->font();
    option.fontMetrics = liste->fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = text;
    return liste->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), liste).width();
}

} // namespace

Form1Controls buildForm1Layout(QMainWindow* form)
{
    Form1Controls c;
    form->setObjectName(u"Form1"_s);
    // The counter frame is wider than first drawn: a choice list's arrow and frame take a fixed
    // room, which left no place for "Unterstrich" in a list of 735 twips. The frames right of it
    // move over; the window, the list's frame, the list and its command buttons grow as much.
    constexpr int Wider = 480;
    // "Suchen & ersetzen" holds one row more than first drawn, the box for regular expressions
    // below "durch". The frame and the window grow by it at the bottom; the status bar, docked
    // there, moves down with the window's edge, and every other control keeps its place.
    constexpr int RegexRow = 300;
    form->setFixedSize(px(form, 8895 + Wider), px(form, 5970 + RegexRow));
    // A main window is announced as a frame by its title; the controls sit on its client area.
    auto* client = new QWidget(form);
    client->setObjectName(u"Form1Client"_s);
    form->setCentralWidget(client);

    PngPictures::preloadGroupBoxFrame(form);
    c.Frame1 = frame(client, u"Frame1"_s, Form1::tr("Kandidaten zum Umbenennen"), 60, 0, 8775 + Wider, 3315);
    c.Frame3 = frame(client, u"Frame3"_s, Form1::tr("Zähler"), 60, 3420, 1935 + Wider, 2235);
    c.Frame4[0] = frame(client, u"Frame4_0"_s, Form1::tr("Schreibweise"), 2100 + Wider, 3420, 2235, 795);
    c.Frame4[1] = frame(client, u"Frame4_1"_s, Form1::tr("Suchen && ersetzen"), 2100 + Wider, 4320, 2235,
                        1335 + RegexRow);
    c.Frame2 = frame(client, u"Frame2"_s, Form1::tr("Maske"), 4440 + Wider, 3420, 4395, 2235);

    auto button = [&c](QWidget* parent, int index, const QString& caption, int l, int t, int w, int h) {
        auto* b = new QPushButton(caption, parent);
        b->setObjectName(indexed("Btn", index));
        b->setAccessibleName(Twips::plainCaption(caption));
        b->setAutoDefault(false);
        place(b, l, t, w, h);
        c.Btn[static_cast<size_t>(index)] = b;
        return b;
    };

    using Kind = FormLineEdit::Kind;

    // Frame1: the list and its commands.
    c.Liste = new CandidateView(c.Frame1);
    c.Liste->setObjectName(u"Liste"_s);
    c.Liste->setAccessibleName(Form1::tr("Kandidaten zum Umbenennen"));
    place(c.Liste, 120, 240, 8535 + Wider, 2535);

    QFont upDownFont = form->font();
    upDownFont.setPointSizeF(12);
    upDownFont.setBold(true);
    button(c.Frame1, Button::MoveUp, QString(QChar(0x21E7)), 120, 2880, 675, 312)->setFont(upDownFont);
    button(c.Frame1, Button::MoveDown, QString(QChar(0x21E9)), 840, 2880, 675, 312)->setFont(upDownFont);
    // The four commands share the list's extra width, so that the last still ends with the list.
    constexpr int Quarter = Wider / 4;
    button(c.Frame1, Button::MarkAll, Form1::tr("&Alle auswählen"), 2460, 2880, 1515 + Quarter, 312);
    button(c.Frame1, Button::MarkNone, Form1::tr("&Keine Auswahl"), 4020 + Quarter, 2880, 1515 + Quarter,
           312);
    button(c.Frame1, Button::InvertMarks, Form1::tr("Aus&wahl umkehren"), 5580 + 2 * Quarter, 2880,
           1515 + Quarter, 312);
    button(c.Frame1, Button::ClearList, Form1::tr("Liste l&öschen"), 7140 + 3 * Quarter, 2880, 1515 + Quarter,
           312);
    c.Btn[Button::MoveUp]->setAccessibleName(Form1::tr("Nach oben"));
    c.Btn[Button::MoveDown]->setAccessibleName(Form1::tr("Nach unten"));

    // Frame3: the counter.
    c.Label1[0] = label(c.Frame3, 0, Form1::tr("Start bei"), 300, 360, 660, 255);
    c.Zahl = field(c.Frame3, u"Zahl"_s, Kind::Counter, 8, 1020, 300, 735 + Wider, 315);
    c.Zahl->setText(u"1"_s);
    c.Label1[2] = label(c.Frame3, 2, Form1::tr("Schrittweite"), 120, 840, 840, 255);
    c.Schrittweite = field(c.Frame3, u"Schrittweite"_s, Kind::Counter, 5, 1020, 780, 735 + Wider, 315);
    c.Schrittweite->setText(u"1"_s);
    c.Label1[3] = label(c.Frame3, 3, Form1::tr("Länge"), 180, 1320, 780, 255);
    c.StellenAnzahl = choice(c.Frame3, u"StellenAnzahl"_s, 1020, 1260, 735 + Wider, 315);
    c.Label1[1] = label(c.Frame3, 1, Form1::tr("Vornullen"), 180, 1800, 780, 255);
    c.Vornullenzeichen = choice(c.Frame3, u"Vornullenzeichen"_s, 1020, 1740, 735 + Wider, 315);

    // Frame4: letter case, search and replace.
    c.Schreibweise = choice(c.Frame4[0], u"Schreibweise"_s, 180, 300, 1875, 315);
    c.Label1[4] = label(c.Frame4[1], 4, Form1::tr("Ersetze"), 180, 420, 600, 255);
    c.SucheText = field(c.Frame4[1], u"SucheText"_s, Kind::Option, 0, 840, 360, 1215, 315);
    c.Label1[5] = label(c.Frame4[1], 5, Form1::tr("durch"), 240, 960, 540, 195);
    c.ErsetzeText = field(c.Frame4[1], u"ErsetzeText"_s, Kind::Option, 0, 840, 900, 1215, 315);
    c.RegexCheck = new QCheckBox(Form1::tr("Re&gulärer Ausdruck"), c.Frame4[1]);
    c.RegexCheck->setObjectName(u"RegexCheck"_s);
    c.RegexCheck->setAccessibleName(Form1::tr("Regulärer Ausdruck"));
    place(c.RegexCheck, 180, 1260, 1875, 255);

    // Frame2: the mask and the commands.
    c.Maske = field(c.Frame2, u"Maske"_s, Kind::Mask, 0, 120, 300, 3315, 315);
    button(c.Frame2, Button::RecentMaskMenu, QString(), 3480, 300, 375, 315)
        ->setIcon(PngPictures::standardIcon(QStyle::SP_DialogSaveButton, form));
    button(c.Frame2, Button::ClearMask, QString(), 3900, 300, 375, 315)
        ->setIcon(PngPictures::standardIcon(QStyle::SP_LineEditClearButton, form));
    c.Btn[Button::RecentMaskMenu]->setAccessibleName(Form1::tr("Zuletzt benutzte Masken"));
    c.Btn[Button::ClearMask]->setAccessibleName(Form1::tr("Maske löschen"));
    for (const TokenButton& token : TokenButtons)
        button(c.Frame2, token.index, Form1::tr(token.caption), token.left, token.top, token.width,
               token.height);
    button(c.Frame2, Button::EmptyBrackets, u"[ ]"_s, 3780, 1020, 495, 255);
    button(c.Frame2, Button::Help, Form1::tr("&Hilfe"), 120, 1380, 1035, 375);
    button(c.Frame2, Button::Options, Form1::tr("&Optionen"), 1200, 1380, 1035, 375);
    button(c.Frame2, Button::Rename, Form1::tr("&Umtaufen!"), 2280, 1380, 1035, 375);
    button(c.Frame2, Button::Quit, Form1::tr("&Ende"), 3360, 1380, 915, 375);

    c.ToolTipCheck = new QCheckBox(Form1::tr("ToolTips"), c.Frame2);
    c.ToolTipCheck->setObjectName(u"ToolTipCheck"_s);
    c.ToolTipCheck->setAccessibleName(Form1::tr("ToolTips"));
    place(c.ToolTipCheck, 120, 1860, 975, 255);
    c.DirItCheck = new QCheckBox(Form1::tr("Dir-It!"), c.Frame2);
    c.DirItCheck->setObjectName(u"DirItCheck"_s);
    c.DirItCheck->setAccessibleName(Form1::tr("Dir-It!"));
    place(c.DirItCheck, 1200, 1860, 975, 255);
    c.Bar = new QProgressBar(c.Frame2);
    c.Bar->setObjectName(u"Bar"_s);
    c.Bar->setAccessibleName(Form1::tr("Fortschritt"));
    c.Bar->setTextVisible(false);
    c.Bar->setRange(0, 100);
    c.Bar->setValue(0);
    place(c.Bar, 2280, 1860, 1995, 225);

    // Status bar with its two panels: the count and the program's messages.
    c.Status = new QStatusBar(form);
    c.Status->setObjectName(u"Status"_s);
    c.Status->setSizeGripEnabled(false);
    c.Status->setFixedHeight(px(form, 255));
    form->setStatusBar(c.Status);
    c.StatusPanel[0] = new QLabel(c.Status);
    c.StatusPanel[0]->setObjectName(u"Status_1"_s);
    // At least the panel's width; wider when the count text needs it.
    c.StatusPanel[0]->setMinimumWidth(px(form, 1440));
    c.StatusPanel[0]->setAccessibleDescription(Form1::tr("Dateianzahl"));
    c.StatusPanel[1] = new QLabel(c.Status);
    c.StatusPanel[1]->setObjectName(u"Status_2"_s);
    c.StatusPanel[1]->setAccessibleDescription(Form1::tr("Programmstatus"));
    c.Status->addWidget(c.StatusPanel[0]);
    c.Status->addWidget(c.StatusPanel[1], 1);

    c.pummain = new QMenu(u"pummain"_s, form);
    c.pummain->setObjectName(u"pummain"_s);
    c.pummain->addAction(QString())->setObjectName(u"pum_1"_s);

    // Fields and lists are named by their label or frame; the label is also their buddy so
    // that assistive technology sees the relation.
    const std::array<std::pair<QLabel*, QWidget*>, 6> buddies{{{c.Label1[0], c.Zahl},
                                                               {c.Label1[2], c.Schrittweite},
                                                               {c.Label1[3], c.StellenAnzahl},
                                                               {c.Label1[1], c.Vornullenzeichen},
                                                               {c.Label1[4], c.SucheText},
                                                               {c.Label1[5], c.ErsetzeText}}};
    for (const auto& [text, target] : buddies) {
        text->setBuddy(target);
        target->setAccessibleName(text->text());
    }
    c.Schreibweise->setAccessibleName(Form1::tr("Schreibweise"));
    c.Maske->setAccessibleName(Form1::tr("Maske"));

    std::vector<QWidget*> order{c.Liste,
                                c.Btn[Button::MoveUp],
                                c.Btn[Button::MoveDown],
                                c.Btn[Button::MarkAll],
                                c.Btn[Button::MarkNone],
                                c.Btn[Button::InvertMarks],
                                c.Btn[Button::ClearList],
                                c.Zahl,
                                c.Schrittweite,
                                c.StellenAnzahl,
                                c.Vornullenzeichen,
                                c.Schreibweise,
                                c.SucheText,
                                c.ErsetzeText,
                                c.RegexCheck,
                                c.Maske,
                                c.Btn[Button::RecentMaskMenu],
                                c.Btn[Button::ClearMask]};
    for (const TokenButton& token : TokenButtons)
        order.push_back(c.Btn[static_cast<size_t>(token.index)]);
    order.insert(order.end(), {c.Btn[Button::EmptyBrackets], c.Btn[Button::Help], c.Btn[Button::Options],
                               c.Btn[Button::Rename], c.Btn[Button::Quit], c.ToolTipCheck, c.DirItCheck});
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    c.Bar->setFocusPolicy(Qt::NoFocus);
    return c;
}

void configureListColumns(CandidateView* liste)
{
    // Widths in twips of the visible columns, by model column; 0: hidden (the key and path
    // columns). The capture time stands right after the last change on screen.
    constexpr int widths[CandidateModel::ColumnCount] = {1440, 1440, 1440, 800, 300,  1400, 0,
                                                         0,    0,    0,    0,   1400, 0};
    // Size, type and the dates show their header and their usual widest values whole, whatever
    // the font; the name columns may stay narrow, the user widens them.
    const QString date = u"24.12.1999 13:45:07"_s;
    const QString widest[CandidateModel::ColumnCount] = {
        {}, {}, {}, u"1023,999 MB"_s, u"JPEG"_s, date, {}, {}, {}, {}, {}, date, {}};
    QHeaderView* header = liste->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setMinimumSectionSize(0);
    for (int column = 0; column < header->count(); ++column) {
        if (column >= CandidateModel::ColumnCount || widths[column] == 0) {
            liste->setColumnHidden(column, true);
            continue;
        }
        int width = px(liste, widths[column]);
        if (!widest[column].isEmpty())
            width = std::max({width, header->sectionSizeHint(column), cellWidth(liste, widest[column])});
        header->resizeSection(column, width);
    }
    header->moveSection(header->visualIndex(CandidateModel::ColTaken),
                        header->visualIndex(CandidateModel::ColDate) + 1);
}
