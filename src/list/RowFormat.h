#pragma once

#include "platform/FileSystem.h"

#include <QString>
#include <QStringView>

// The texts the list shows and sorts by for a file's size and last change.
namespace RowFormat {

// Size as shown: unit TB, GB, MB (from 2^40, 2^30, 2^20 bytes on), KB only above 1024 bytes,
// else Byte; at most three decimals rounded half away from zero, decimal comma, no trailing
// zeros and no "0" before the comma, so 0 bytes give " Byte" and 1025 bytes "1,001 KB".
QString FormatFileSize(double size);

// Exactly 16 upper-case hex digits, so that text order is size order.
QString sizeKey(qint64 size);

// YYYYMMDDhh:mm:ss, always 16 characters (the year is clamped to 0..9999), so that text
// order is time order. The name pass reads the date and time parts by position.
QString dateKey(const LocalTime& time);

// The same time as the number YYYYMMDDhhmmss, which rows keep instead of the key's text:
// number order is key order, and the key is made again from it without loss.
qint64 dateStamp(const LocalTime& time);
// The key of a stamp into out[0..15].
void writeDateKey(qint64 stamp, char16_t* out);
QString dateKey(qint64 stamp);
// The stamp of a 16-character key of digits; -1 for anything else.
qint64 dateStampFromKey(QStringView key);

// DD.MM.YYYY hh:mm:ss from a date key; empty for anything that is not a 16-character key.
QString dateTextFromKey(QStringView key);

} // namespace RowFormat
