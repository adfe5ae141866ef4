#include "app/Form1.h"

#include "list/CandidateModel.h"
#include "platform/ShortcutService.h"
#include "widgets/ProgramTitle.h"
#include "widgets/Twips.h"
#include "windows/HelpForm.h"
#include "windows/OptionForm.h"

#include "InLanguage.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

struct Message
{
    QString context, source, translation;
    QString state; // the translation's type: empty when finished
};

QList<Message> readTs(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QXmlStreamReader xml(&file);
    QList<Message> messages;
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            messages.append({context, {}, {}, {}});
        } else if (xml.name() == u"source" && !messages.isEmpty()) {
            messages.last().source = xml.readElementText();
        } else if (xml.name() == u"translation" && !messages.isEmpty()) {
            messages.last().state = xml.attributes().value(u"type"_s).toString();
            messages.last().translation = xml.readElementText();
        }
    }
    if (xml.hasError())
        qFatal("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    return messages;
}

QStringList placeholders(const QString& text)
{
    QStringList found;
    static const QRegularExpression number(u"%\\d+"_s);
    for (const QRegularExpressionMatch& match : number.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

// The access key markers: a single "&" before a letter, and "&&" for an ampersand.
std::pair<int, int> ampersands(const QString& text)
{
    const int doubled = int(text.count(u"&&"_s));
    return {int(text.count(u'&')) - 2 * doubled, doubled};
}

// Every text a window shows of its own: captions, choices, headers, tooltips and the names and
// descriptions a screen reader says. Not what the user typed, nor the list's rows.
QStringList shownTexts(const QWidget& window)
{
    QStringList texts{window.windowTitle()};
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    for (const QWidget* widget : std::as_const(widgets)) {
        texts << widget->toolTip() << widget->accessibleName() << widget->accessibleDescription();
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            texts << button->text();
        else if (const auto* label = qobject_cast<const QLabel*>(widget))
            texts << label->text();
        else if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
            texts << frame->title();
        else if (const auto* box = qobject_cast<const QComboBox*>(widget); box && !box->isEditable()) {
            for (int i = 0; i < box->count(); ++i)
                texts << box->itemText(i);
        } else if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
            for (const QAction* item : menu->actions())
                texts << item->text();
        }
    }
    return texts;
}

} // namespace

// Velto's English: a finished translation of every text, and windows that show no German.
class TestTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyTextIsTranslated();
    void englishWindowsShowOnlyTranslations();

private:
    QList<Message> m_messages;
};

void TestTranslations::initTestCase()
{
    m_messages = readTs(QStringLiteral(VELTO_TS_FILE));
    QVERIFY(m_messages.size() > 150);
}

void TestTranslations::everyTextIsTranslated()
{
    QStringList wrong;
    for (const Message& message : std::as_const(m_messages)) {
        const QString where = u"%1: \"%2\""_s.arg(message.context, message.source);
        if (!message.state.isEmpty())
            wrong << where + u" is "_s + message.state;
        else if (message.translation.trimmed().isEmpty())
            wrong << where + u" has no translation"_s;
        else if (placeholders(message.source) != placeholders(message.translation))
            wrong << where + u" and its translation differ in their %n"_s;
        else if (ampersands(message.source) != ampersands(message.translation))
            wrong << where + u" and its translation differ in their access keys"_s;
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
}

void TestTranslations::englishWindowsShowOnlyTranslations()
{
    // What an English window may show: a translation, its %n filled with anything, also as a
    // screen reader names a control by its caption, without the access key.
    QList<QRegularExpression> english;
    for (const Message& message : std::as_const(m_messages)) {
        for (const QString& text : {message.translation, Twips::plainCaption(message.translation)}) {
            QStringList parts = text.split(QRegularExpression(u"%\\d+"_s));
            for (QString& part : parts)
                part = QRegularExpression::escape(part);
            english << QRegularExpression(QRegularExpression::anchoredPattern(parts.join(u".+"_s)),
                                          QRegularExpression::DotMatchesEverythingOption);
        }
    }
    const auto translated = [&english](const QString& text) {
        return std::any_of(english.cbegin(), english.cend(), [&text](const QRegularExpression& pattern) {
            return pattern.match(text).hasMatch();
        });
    };

    QTemporaryDir dir;
    QVERIFY(TestFiles::create(dir.path(), u"a.txt"_s) && TestFiles::create(dir.path(), u"b.txt"_s));
    const InLanguage inEnglish(Language::English);
    Form1Services services;
    services.helpFile = dir.filePath(u"missing.rtf"_s);
    Form1 window({QFile::encodeName(dir.filePath(u"a.txt"_s)), QFile::encodeName(dir.filePath(u"b.txt"_s))},
                 1500, services);
    window.findChild<QCheckBox*>(u"ToolTipCheck"_s)->setChecked(true);
    QStringList texts = shownTexts(window);
    for (int column = 0; column < CandidateModel::ColumnCount; ++column) {
        const QString title = window.model()->headerData(column, Qt::Horizontal).toString();
        if (!title.startsWith(u'('))
            texts << title;
    }
    // The mask field's menu of the values inside the files.
    auto* mask = window.findChild<QLineEdit*>(u"Maske"_s);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), mask->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(mask, &event);
    auto* fieldMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(fieldMenu);
    // Its items are "[FOTO.KAMERA] – " and the translated description.
    for (const QString& item : shownTexts(*fieldMenu->findChild<QMenu*>(u"FileValueMenu"_s)))
        texts << item.section(u" – "_s, -1);
    fieldMenu->close();

    XdgShortcutService shortcuts;
    OptionForm options(shortcuts, u"/usr/bin/velto"_s);
    texts << shownTexts(options);
    HelpForm help(services.helpFile);
    help.setAttribute(Qt::WA_DeleteOnClose, false);
    texts << shownTexts(help) << help.findChild<QWidget*>(u"Text1"_s)->property("plainText").toString();

    static const QRegularExpression letter(u"\\p{L}"_s);
    QStringList german;
    for (const QString& text : std::as_const(texts)) {
        if (text.contains(letter) && text != ProgramTitle && !translated(text))
            german << text;
    }
    german.removeDuplicates();
    QVERIFY2(german.isEmpty(), qPrintable(german.join(u'\n')));
}

VELTO_GUI_TEST_MAIN(TestTranslations)
#include "TestTranslations.moc"
