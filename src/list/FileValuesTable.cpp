#include "list/FileValuesTable.h"

#include "naming/FileValueKinds.h"

using namespace Qt::StringLiterals;

void FileValuesTable::make(size_t rows)
{
    if (m_made)
        return;
    m_slots.assign(rows, Slot());
    m_made = true;
}

void FileValuesTable::clear()
{
    m_slots = {};
    m_texts = {};
    m_textIndex = {};
    m_made = false;
}

void FileValuesTable::store(size_t row, const FileMetadata& values)
{
    Slot& slot = m_slots[row];
    slot = Slot();
    if (values.unreadable) {
        slot.state = State::Unreadable;
        return;
    }
    slot.state = State::Read;
    slot.Taken = values.taken;
    // A size needs both sides.
    if (values.width != 0 && values.height != 0) {
        slot.Width = values.width;
        slot.Height = values.height;
    }
    if (values.camera.isEmpty() && values.maker.isEmpty() && values.artist.isEmpty() &&
        values.title.isEmpty() && values.album.isEmpty() && values.track == 0 && values.year == 0)
        return;
    // Texts never hold control characters, so U+0001 cannot occur inside one of them.
    const QString key = values.camera + u'\1' + values.maker + u'\1' + values.artist + u'\1' + values.title +
                        u'\1' + values.album + u'\1' + QString::number(values.track) + u'\1' +
                        QString::number(values.year);
    auto known = m_textIndex.constFind(key);
    if (known == m_textIndex.cend()) {
        m_texts.push_back({values.camera, values.maker, values.artist, values.title, values.album,
                           values.track, values.year});
        known = m_textIndex.insert(key, quint32(m_texts.size()));
    }
    slot.Texts = known.value();
}

const FileValuesTable::Texts& FileValuesTable::textsOf(const Slot& slot) const
{
    static const Texts none;
    return slot.Texts == 0 ? none : m_texts[slot.Texts - 1];
}

quint16 FileValuesTable::lacking(const Slot& slot, quint16 needs) const
{
    using namespace FileValueKinds;
    if (needs == 0)
        return 0;
    if (slot.state != State::Read)
        return needs;
    quint16 lacks = 0;
    if (slot.Taken == FileMetadata::NoTime)
        lacks |= Taken;
    if (slot.Width == 0)
        lacks |= ImageSize;
    if ((needs & ~(Taken | ImageSize)) != 0) { // the texts only where the mask reads them
        const Texts& texts = textsOf(slot);
        if (texts.camera.isEmpty())
            lacks |= Camera;
        if (texts.maker.isEmpty())
            lacks |= Maker;
        if (texts.artist.isEmpty())
            lacks |= Artist;
        if (texts.title.isEmpty())
            lacks |= Title;
        if (texts.album.isEmpty())
            lacks |= Album;
        if (texts.track == 0)
            lacks |= Track;
        if (texts.year == 0)
            lacks |= Year;
    }
    return lacks & needs;
}

QString FileValuesTable::lackText(const Slot& slot) const
{
    if ((slot.Lacks & LackMarked) == 0)
        return {};
    switch (slot.state) {
    case State::Unreadable:
        return tr("Die Angaben dieser Datei lassen sich nicht lesen.");
    case State::NotRead:
    case State::Stopped:
        return tr("Die Angaben dieser Datei wurden nicht gelesen.");
    case State::Read:
        break;
    }
    static const char* const words[] = {
        QT_TR_NOOP("Aufnahmedatum"), QT_TR_NOOP("Kamera"),      QT_TR_NOOP("Hersteller"),
        QT_TR_NOOP("Bildgröße"),     QT_TR_NOOP("Interpret"),   QT_TR_NOOP("Titel"),
        QT_TR_NOOP("Album"),         QT_TR_NOOP("Titelnummer"), QT_TR_NOOP("Jahr")};
    QStringList lacking;
    for (int bit = 0; bit < int(std::size(words)); ++bit) {
        if ((slot.Lacks & (1 << bit)) != 0)
            lacking.append(tr(words[bit]));
    }
    //: %1 lists what is missing, as "Kamera, Hersteller".
    return tr("Dieser Datei fehlt: %1").arg(lacking.join(u", "));
}
