#pragma once

// What a text file that is not RTF holds: 8-bit text (the documents' own
// plain text files, Latin text), Unicode text or a web page.
#include <QByteArrayView>
#include <QString>

namespace tk::unicode {

enum class TextKind {
    Bytes,   // each byte one character, as the plain text files are written
    Unicode, // UTF-8 with or without a byte order mark, or UTF-16
    Html,    // a web page, in its own encoding
};

struct DecodedText {
    TextKind kind = TextKind::Bytes;
    QString text; // empty for Bytes: the caller keeps the bytes
};

// UTF-16 is recognised by its byte order mark, or without one by its zero
// high bytes (see unmarkedUtf16). UTF-8
// without a mark is taken when the bytes are valid UTF-8 and not all ASCII:
// text in an 8-bit code page almost never is. A page is recognised by its
// name (.htm, .html, .xhtml) or by its first tag.
DecodedText decodeText(QByteArrayView data, const QString& path);

// .htm, .html or .xhtml, in any case.
bool isHtmlName(const QString& path);

} // namespace tk::unicode
