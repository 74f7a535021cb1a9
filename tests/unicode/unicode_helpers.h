#pragma once

// Both conversions with QString and QByteArray at the edges, so that test
// tables can be written as Tamil text.
#include "engine/tamil_unicode.h"

#include <QByteArray>
#include <QString>

inline QString toUnicode(const QByteArray& codes)
{
    return QString::fromStdString(tk::engine::codesToUnicode(codes.toStdString()));
}

inline tk::engine::UnicodeToCodes fromUnicodeBytes(const QByteArray& utf8)
{
    return tk::engine::unicodeToCodes(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

inline QByteArray fromUnicode(const QString& text)
{
    return QByteArray::fromStdString(fromUnicodeBytes(text.toUtf8()).codes);
}
