#pragma once

#include <QFile>
#include <QTemporaryDir>

// A fresh temporary home for a benchmark that builds the real window, so that neither the
// user's settings nor a journal of theirs are read or written. Unlike the tests' home it leaves
// the system's data folders alone: icon themes and fonts are part of what is measured.
class BenchHome
{
public:
    BenchHome()
    {
        const QString root = m_dir.path();
        qputenv("HOME", QFile::encodeName(root));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/.config")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(root + QStringLiteral("/.local/state")));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root));
    }

private:
    QTemporaryDir m_dir;
};
