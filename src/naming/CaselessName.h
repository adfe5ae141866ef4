#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// A name as it is compared without regard to letter case: by its capitals, so that "ß" and
// "SS" are one name, as are "Straße" and "STRASSE". The check, the rename run and the undo all
// compare this way, so that a name the check calls free is free to the run as well.
//
// Most names are plain ASCII, where the capitals are taken character by character while hashing
// and comparing, without a capitalised copy; other names make their capitals once. The hash is
// kept, so that probing a large table rarely reads the text of another name.
class CaselessName
{
public:
    explicit CaselessName(QStringView name) : CaselessName(name, std::nullopt) {}
    // The same, given the hash that an earlier CaselessName of the name found.
    CaselessName(QStringView name, std::optional<quint64> knownHash);

    // Whether other, a name as it is spelled, has the same capitals.
    bool sameAs(QStringView other) const;
    quint64 hash() const { return m_hash; }

    // a and b have the same capitals.
    static bool equal(QStringView a, QStringView b) { return CaselessName(a).sameAs(b); }

private:
    QString m_capitals; // only for names beyond ASCII
    QStringView m_text; // the name, or its capitals
    quint64 m_hash = 0;
};
