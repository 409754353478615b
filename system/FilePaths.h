#pragma once

#include <QByteArray>
#include <QString>

// File names on Linux are bytes, not text. A path read from the system becomes a
// QString in which every byte that is not part of valid UTF-8 is kept as a lone
// surrogate U+DC80..U+DCFF, so that turning it back gives the very same bytes. Qt's
// own conversion would replace such bytes and name another file.
namespace sys {

QString pathFromBytes(const QByteArray& bytes);
QByteArray pathBytes(const QString& path);

// The path as it may be shown: every kept byte drawn as U+FFFD.
QString displayPath(const QString& path);

} // namespace sys
