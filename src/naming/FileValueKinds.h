#pragma once

#include "naming/MaskElement.h"

#include <QtGlobal>

// The values a mask can read from inside a file, besides its name and last change.
namespace FileValueKinds {

// What a file can lack, one bit each, in the order a row's tooltip names them.
enum Need : quint16
{
    Taken = 1 << 0, // capture date and time
    Camera = 1 << 1,
    Maker = 1 << 2,
    ImageSize = 1 << 3, // width and height come together
    Artist = 1 << 4,
    Title = 1 << 5,
    Album = 1 << 6,
    Track = 1 << 7,
    Year = 1 << 8,
    AllNeeds = (1 << 9) - 1,
};

// The texts a name takes from a file, as NameSource::Texts holds them.
enum Text : quint8
{
    CameraText,
    MakerText,
    WidthText,
    HeightText,
    ArtistText,
    TitleText,
    AlbumText,
    TrackText,
    YearText,
    TextCount
};

inline bool isTakenKind(ElementKind kind)
{
    const auto code = static_cast<qint16>(kind);
    return (code >= 60 && code <= 64) || (code >= 70 && code <= 73);
}

// The date or time element of the last change that shows the capture time's fields alike.
inline ElementKind lastChangeFormOf(ElementKind kind)
{
    return static_cast<ElementKind>(static_cast<qint16>(kind) - 20);
}

// The text an element shows; TextCount for an element that shows none.
inline Text textOf(ElementKind kind)
{
    switch (kind) {
    case ElementKind::KindFotoKamera:
        return CameraText;
    case ElementKind::KindFotoHersteller:
        return MakerText;
    case ElementKind::KindFotoBreite:
        return WidthText;
    case ElementKind::KindFotoHoehe:
        return HeightText;
    case ElementKind::KindMusikInterpret:
        return ArtistText;
    case ElementKind::KindMusikTitel:
        return TitleText;
    case ElementKind::KindMusikAlbum:
        return AlbumText;
    case ElementKind::KindMusikNr:
        return TrackText;
    case ElementKind::KindMusikJahr:
        return YearText;
    default:
        return TextCount;
    }
}

inline constexpr Need NeedOfText[TextCount] = {Camera, Maker, ImageSize, ImageSize, Artist,
                                               Title,  Album, Track,     Year};

// What an element needs from the file; 0 for the elements of the name and the last change.
inline quint16 needOf(ElementKind kind)
{
    if (isTakenKind(kind))
        return Taken;
    const Text text = textOf(kind);
    return text == TextCount ? 0 : NeedOfText[text];
}

} // namespace FileValueKinds

namespace FileValueKinds {

// What a mask reads from inside the files (Need bits); 0 for a mask that reads nothing there.
inline quint16 needsOf(const MaskProgram& program)
{
    quint16 needs = 0;
    for (const MaskElement& element : program)
        needs |= needOf(element.Kind);
    return needs;
}

} // namespace FileValueKinds
