#include "app/CandidateView.h"
#include "app/Form1.h"
#include "app/ProgramIdentity.h"
#include "list/CandidateModel.h"
#include "platform/ShortcutService.h"
#include "widgets/PngPictures.h"
#include "widgets/Twips.h"
#include "windows/HelpForm.h"
#include "windows/OptionForm.h"

#include "InLanguage.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Language)

namespace {

// The width a control's text needs, by the style's own measure; 0 for a control without text.
int needed(const QWidget* widget)
{
    const QStyle* style = widget->style();
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        if (button->text().isEmpty())
            return 0;
        // What the style adds around a button's text, without the least width some styles
        // give every button.
        return button->fontMetrics().horizontalAdvance(Twips::plainCaption(button->text())) +
               style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
               2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    }
    if (qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget) ||
        qobject_cast<const QLabel*>(widget))
        return widget->sizeHint().width();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->minimumSizeHint().width();
    if (const auto* box = qobject_cast<const QComboBox*>(widget)) {
        int longest = 0;
        for (int i = 0; i < box->count(); ++i)
            longest = std::max(longest, box->fontMetrics().horizontalAdvance(box->itemText(i)));
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = box->isEditable();
        option.frame = box->hasFrame();
        return style
            ->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(longest, box->fontMetrics().height()), box)
            .width();
    }
    return 0;
}

// Every visible control of the window whose text does not fit, with what it needs and has.
QStringList cutTexts(const QWidget& window)
{
    QStringList cut;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        const int need = needed(widget);
        if (need > widget->width())
            cut << u"%1 needs %2, has %3"_s.arg(widget->objectName()).arg(need).arg(widget->width());
    }
    return cut;
}

// Every named control that does not lie wholly inside its container, such as a frame grown
// past the window's client area or a control below its frame's edge.
QStringList outside(const QWidget& window)
{
    QStringList out;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const QWidget* parent = widget->parentWidget();
        if (!widget->isVisibleTo(&window) || widget->objectName().isEmpty() ||
            widget->objectName().startsWith(u"qt_") || !parent || parent == &window)
            continue;
        if (!parent->rect().contains(widget->geometry()))
            out << u"%1 lies outside %2"_s.arg(widget->objectName(), parent->objectName());
    }
    return out;
}

} // namespace

// No caption, label, list entry or column header is cut at the usual fonts of a Linux desktop,
// and no control reaches out of its frame or window.
class TestLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionsFit_data();
    void captionsFit();
    void iconsAsTheStyleDrawsThem();
};

void TestLayout::captionsFit_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<Language>("language");
    // Debian's Qt without a desktop, and a common desktop setting.
    for (int points : {9, 11}) {
        QTest::addRow("DejaVu Sans %d pt, German", points) << points << Language::German;
        QTest::addRow("DejaVu Sans %d pt, English", points) << points << Language::English;
    }
}

void TestLayout::captionsFit()
{
    QFETCH(int, points);
    QFETCH(Language, language);
    const InLanguage speaking(language);
    QApplication::setFont(QFont(u"DejaVu Sans"_s, points));
    QCOMPARE(QFontInfo(QApplication::font()).family(), u"DejaVu Sans"_s);

    // A row whose size, type and date are as wide as they usually get.
    QTemporaryDir dir;
    const QString picture = dir.filePath(u"bild.JPEG"_s);
    QVERIFY(TestFiles::write(picture, 1048575));
    QVERIFY(TestFiles::setLocalMtime(picture, {1999, 12, 24, 13, 45, 7}));
    Form1Services services;
    services.helpFile = dir.filePath(u"help.rtf"_s);
    Form1 main({QFile::encodeName(picture)}, 1500, services);
    main.show();
    QStringList cut = cutTexts(main) + outside(main);

    // Every shown column keeps its header whole; size, type and date their values too, while
    // the user widens the name columns to the names. The spare column and those for sorting
    // and paths, whose headers are empty or in brackets, are never shown.
    auto* liste = main.findChild<CandidateView*>(u"Liste"_s);
    QHeaderView* header = liste->header();
    const QMap<int, QString> samples{{CandidateModel::ColSize, u"1023,999 KB"_s},
                                     {CandidateModel::ColType, u"JPEG"_s},
                                     {CandidateModel::ColDate, u"24.12.1999 13:45:07"_s}};
    int shown = 0;
    for (int column = 0; column < header->count(); ++column) {
        const QString title = main.model()->headerData(column, Qt::Horizontal).toString();
        const bool internal = title.isEmpty() || title.startsWith(u'(');
        if (liste->isColumnHidden(column) != internal)
            cut << u"column \"%1\" %2"_s.arg(title, internal ? u"shown"_s : u"hidden"_s);
        if (internal)
            continue;
        ++shown;
        int need = header->sectionSizeHint(column);
        if (samples.contains(column)) {
            const QModelIndex cell = main.model()->index(0, column);
            QCOMPARE(cell.data().toString(), samples.value(column));
            need = std::max(need, liste->sizeHintForIndex(cell).width());
        }
        if (need > header->sectionSize(column))
            cut << u"column %1 needs %2, has %3"_s.arg(column).arg(need).arg(header->sectionSize(column));
    }
    QCOMPARE(shown, 7);

    XdgShortcutService shortcuts;
    OptionForm options(shortcuts, u"/usr/bin/velto"_s);
    options.show();
    cut << cutTexts(options);
    HelpForm help(dir.filePath(u"help.rtf"_s));
    help.setAttribute(Qt::WA_DeleteOnClose, false);
    help.show();
    cut << cutTexts(help);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u"; "_s)));
}

// The mask's two picture buttons show the style's own icons, read without its detour.
void TestLayout::iconsAsTheStyleDrawsThem()
{
    QTemporaryDir dir;
    Form1Services services;
    services.helpFile = dir.filePath(u"help.rtf"_s);
    Form1 main({}, 1500, services);
    const QList<QPair<QString, QStyle::StandardPixmap>> icons{{u"Btn_24"_s, QStyle::SP_DialogSaveButton},
                                                              {u"Btn_11"_s, QStyle::SP_LineEditClearButton}};
    for (const auto& [name, which] : icons) {
        const auto* button = main.findChild<QPushButton*>(name);
        QVERIFY2(button, qPrintable(name));
        for (int size : {16, 32}) {
            const QImage shown = button->icon().pixmap(size).toImage();
            QVERIFY2(!shown.isNull(), qPrintable(name));
            QCOMPARE(shown, main.style()->standardIcon(which).pixmap(size).toImage());
        }
    }
    // The window icon, in every size it comes in.
    ProgramIdentity::apply();
    QCOMPARE(QApplication::windowIcon().availableSizes(),
             (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
    // The group boxes' frame is found where Fusion's QPixmap looks first, as read here.
    const QPixmap frame = PngPictures::preloadGroupBoxFrame(&main);
    QVERIFY(!frame.isNull());
    QCOMPARE(QPixmap(u":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"_s).cacheKey(),
             frame.cacheKey());
}

VELTO_GUI_TEST_MAIN(TestLayout)
#include "TestLayout.moc"
