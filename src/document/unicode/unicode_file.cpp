#include "unicode_file.h"

#include "engine/utf8.h"

#include <QFileInfo>
#include <QStringConverter>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>

namespace tk::unicode {

namespace {

bool looksLikeHtml(QStringView text)
{
    const QStringView start = text.trimmed().left(64);
    return start.startsWith(QLatin1String("<!doctype html"), Qt::CaseInsensitive)
        || start.startsWith(QLatin1String("<html"), Qt::CaseInsensitive);
}

// UTF-16 without a mark: the high bytes of text in one or two scripts take
// a few values (0 for Latin, blanks and line ends; 0x0B for Tamil), the low
// bytes many, and only the high bytes are ever zero. Binary data has zeros
// everywhere.
std::optional<QStringConverter::Encoding> unmarkedUtf16(QByteArrayView data)
{
    if (data.size() < 4 || data.size() % 2 != 0)
        return std::nullopt;
    std::array<int, 256> even{}, odd{};
    const qsizetype pairs = std::min<qsizetype>(data.size() / 2, 4096);
    for (qsizetype i = 0; i < pairs; ++i) {
        ++even[(unsigned char)data[2 * i]];
        ++odd[(unsigned char)data[2 * i + 1]];
    }
    const auto distinct = [](const std::array<int, 256>& counts) {
        return std::count_if(counts.begin(), counts.end(), [](int n) { return n > 0; });
    };
    const auto highBytes = [&](const std::array<int, 256>& high, const std::array<int, 256>& low) {
        return high[0] > 0 && low[0] == 0 && distinct(high) <= 8 && distinct(high) < distinct(low);
    };
    if (highBytes(odd, even))
        return QStringConverter::Utf16LE;
    if (highBytes(even, odd))
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

bool isAscii(QByteArrayView data)
{
    return std::all_of(data.begin(), data.end(), [](char c) { return (unsigned char)c < 0x80; });
}

DecodedText decoded(QString text, const QString& path)
{
    // A byte order mark that survived decoding is no text.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const TextKind kind = isHtmlName(path) || looksLikeHtml(text) ? TextKind::Html : TextKind::Unicode;
    return {kind, std::move(text)};
}

} // namespace

bool isHtmlName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("htm") || suffix == QLatin1String("html") || suffix == QLatin1String("xhtml");
}

DecodedText decodeText(QByteArrayView data, const QString& path)
{
    if (const auto marked = QStringConverter::encodingForData(data)) {
        QStringDecoder decoder(*marked);
        return decoded(decoder.decode(data), path);
    }
    if (data.contains('\0')) {
        if (const auto utf16 = unmarkedUtf16(data)) {
            QStringDecoder decoder(*utf16);
            return decoded(decoder.decode(data), path);
        }
        return {}; // binary: the caller decides
    }
    const bool html = isHtmlName(path) || looksLikeHtml(QString::fromLatin1(data.first(std::min<qsizetype>(data.size(), 64))));
    if (html) {
        // The page's own declaration, else UTF-8, else the 8-bit reading.
        const auto declared = QStringConverter::encodingForHtml(data);
        QStringDecoder decoder(declared.value_or(QStringConverter::Utf8));
        QString text = decoder.decode(data);
        if (decoder.hasError())
            text = QString::fromLatin1(data);
        return {TextKind::Html, std::move(text)};
    }
    if (isAscii(data))
        return {};
    const std::string_view bytes(data.data(), size_t(data.size()));
    if (engine::utf8::findMalformed(bytes) != engine::utf8::none)
        return {};
    return {TextKind::Unicode, QString::fromUtf8(data)};
}

} // namespace tk::unicode
