#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

// Points HOME and the XDG folders at a fresh temporary folder before Qt reads them, so
// that no test touches the real home folder, settings or desktop, and pins the language.
class TestHome
{
public:
    TestHome()
    {
        if (!m_dir.isValid()) {
            std::fprintf(stderr, "cannot create a temporary home folder\n");
            std::abort();
        }
        const QString root = m_dir.path();
        const char* names[][2] = {{"HOME", "home"},
                                  {"XDG_CONFIG_HOME", "home/.config"},
                                  {"XDG_DATA_HOME", "home/.local/share"},
                                  {"XDG_CACHE_HOME", "home/.cache"},
                                  {"XDG_STATE_HOME", "home/.local/state"},
                                  {"XDG_RUNTIME_DIR", "runtime"}};
        for (const auto& [variable, sub] : names) {
            const QString path = root + u'/' + QString::fromLatin1(sub);
            QDir().mkpath(path);
            qputenv(variable, QFile::encodeName(path));
        }
        QFile::setPermissions(root + QStringLiteral("/runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root + QStringLiteral("/etc")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root + QStringLiteral("/usr")));
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // German, whatever the machine's locale: LANGUAGE decides unless the locale is C or POSIX,
        // which gives German as well. The programs some tests start choose by it too; a test of
        // the English texts installs them (InLanguage.h).
        qputenv("LANGUAGE", "de");
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

#define VELTO_TEST_MAIN_IMPL(TestObject, AppType)                                                            \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        TestHome home;                                                                                       \
        AppType app(argc, argv);                                                                             \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

// Core tests: no display, no widgets.
#define VELTO_TEST_MAIN(TestObject) VELTO_TEST_MAIN_IMPL(TestObject, QCoreApplication)
// Window tests: the real widgets on the offscreen platform.
#if __has_include(<QApplication>)
#include <QApplication>
#define VELTO_GUI_TEST_MAIN(TestObject) VELTO_TEST_MAIN_IMPL(TestObject, QApplication)
#elif __has_include(<QGuiApplication>)
// Tests of QtGui code without widgets (text documents need a GUI application for fonts).
#include <QGuiApplication>
#define VELTO_GUI_TEST_MAIN(TestObject) VELTO_TEST_MAIN_IMPL(TestObject, QGuiApplication)
#endif
