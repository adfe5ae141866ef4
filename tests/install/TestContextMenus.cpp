#include "TestMain.h"

#include <QFile>
#include <QMap>

using namespace Qt::StringLiterals;

namespace {

using Keys = QMap<QString, QString>; // "<group>/<key>" -> value

enum class FileManager
{
    Dolphin,
    Nemo
};

// A value as both file managers read it: "\s", "\n", "\t", "\r" and "\\" unescaped.
QString unescaped(const QString& value)
{
    static const QMap<QChar, QChar> escapes{
        {u's', u' '}, {u'n', u'\n'}, {u't', u'\t'}, {u'r', u'\r'}, {u'\\', u'\\'}};
    QString result;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size() && escapes.contains(value[i + 1]))
            result += escapes.value(value[++i]);
        else
            result += value[i];
    }
    return result;
}

// Every key of the file; a line that is neither a comment, a group nor a key fails the test,
// and so does a key given twice.
Keys readKeys(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    Keys keys;
    QString group;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        const QString key = group + u'/' + line.left(equals);
        if (group.isEmpty() || equals <= 0 || keys.contains(key))
            qFatal("%s: cannot read the line \"%s\"", qPrintable(path), qPrintable(line));
        keys.insert(key, unescaped(line.mid(equals + 1)));
    }
    return keys;
}

// Splits a command line as the Desktop Entry Specification does (blanks part the arguments;
// inside double quotes a backslash escapes '"', '`', '$' and '\') and expands "%F" into one
// argument per file, which is what Dolphin hands to the program.
QStringList dolphinArguments(const QString& exec, const QStringList& files)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted && c == u'\\' && i + 1 < exec.size() && u"\"`$\\"_s.contains(exec[i + 1])) {
            word += exec[++i];
        } else if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && c == u' ') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    QStringList arguments;
    for (const QString& w : words) {
        if (w == u"%F")
            arguments << files;
        else
            arguments << QString(w).replace(u"%%"_s, u"%"_s);
    }
    return arguments;
}

// Pastes the files for "%F" as Nemo does with Quote=double: each in double quotes, its '"'
// and '\' escaped, blank-separated. Then splits the line as GLib's shell parser does: blanks,
// tabs and line breaks part the words outside quotes; a backslash escapes the next character
// outside quotes and '"', '\', '`', '$' or a line break inside double quotes; single quotes
// keep everything.
QStringList nemoArguments(const QString& exec, const QStringList& files)
{
    QStringList pasted;
    for (QString file : files)
        pasted << u'"' + file.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s) + u'"';
    const QString line = QString(exec).replace(u"%F"_s, pasted.join(u' '));

    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote; // '"', '\'' or none
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        const bool hasNext = i + 1 < line.size();
        if (quote == u'\'') {
            if (c == u'\'')
                quote = QChar();
            else
                word += c;
        } else if (quote == u'"') {
            if (c == u'\\' && hasNext && u"\"\\`$\n"_s.contains(line[i + 1])) {
                if (line[++i] != u'\n')
                    word += line[i];
            } else if (c == u'"') {
                quote = QChar();
            } else {
                word += c;
            }
        } else if (c == u'\\' && hasNext) {
            if (line[++i] != u'\n')
                word += line[i];
            inWord = true;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            inWord = true;
        } else if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

} // namespace

Q_DECLARE_METATYPE(FileManager)

// The entries that Dolphin and Nemo read for their context menus. Neither file manager can be
// asked to start one, so the test reads them as they do and expands their command lines.
class TestContextMenus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries_data();
    void entries();
};

void TestContextMenus::entries_data()
{
    QTest::addColumn<QString>("file"); // below data/
    QTest::addColumn<Keys>("keys");    // among the file's keys
    QTest::addColumn<QString>("exec"); // the key of the command line
    QTest::addColumn<FileManager>("fileManager");
    const QString names = u"Rename with Velto"_s;
    const QString namesDe = u"Mit Velto umbenennen"_s;
    QTest::newRow("Dolphin service menu")
        << u"kio/de.tollmark.Velto.desktop"_s
        << Keys{{u"Desktop Entry/Type"_s, u"Service"_s},
                {u"Desktop Entry/X-KDE-ServiceTypes"_s, u"KonqPopupMenu/Plugin"_s},
                {u"Desktop Entry/MimeType"_s, u"application/octet-stream;"_s},
                {u"Desktop Entry/Actions"_s, u"rename;"_s},
                {u"Desktop Action rename/Name"_s, names},
                {u"Desktop Action rename/Name[de]"_s, namesDe}}
        << u"Desktop Action rename/Exec"_s << FileManager::Dolphin;
    QTest::newRow("Nemo action") << u"nemo/velto.nemo_action"_s
                                 << Keys{{u"Nemo Action/Name"_s, names},
                                         {u"Nemo Action/Name[de]"_s, namesDe},
                                         {u"Nemo Action/Selection"_s, u"notnone"_s},
                                         {u"Nemo Action/Extensions"_s, u"nodirs;"_s},
                                         {u"Nemo Action/Quote"_s, u"double"_s}}
                                 << u"Nemo Action/Exec"_s << FileManager::Nemo;
}

void TestContextMenus::entries()
{
    QFETCH(QString, file);
    QFETCH(Keys, keys);
    QFETCH(QString, exec);
    QFETCH(FileManager, fileManager);
    const Keys read = readKeys(QStringLiteral(VELTO_DATA_DIR) + u'/' + file);
    for (auto key = keys.cbegin(); key != keys.cend(); ++key)
        QCOMPARE(read.value(key.key()), key.value());

    // Names that a shell or a field code would take apart.
    const QStringList files{u"/home/u/Urlaub 2024/Bild  1.jpg"_s,
                            u"/home/u/\"Zitat\" und 'so'.txt"_s,
                            u"/home/u/$HOME $(id) `id` ~.txt"_s,
                            u"/home/u/a\\b\\\\c \\\" \\$.txt"_s,
                            u"/home/u/endet mit\\"_s,
                            u"/home/u/Zeile\nzwei\t.txt"_s,
                            u"/home/u/100%F %% %f.txt"_s};
    QVERIFY(read.contains(exec));
    const QStringList arguments = fileManager == FileManager::Dolphin
                                      ? dolphinArguments(read.value(exec), files)
                                      : nemoArguments(read.value(exec), files);
    QCOMPARE(arguments, QStringList{u"velto"_s} + files);
}

VELTO_TEST_MAIN(TestContextMenus)
#include "TestContextMenus.moc"
