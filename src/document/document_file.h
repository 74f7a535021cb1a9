#pragma once

#include "rich_text_box.h"

class QTextDocument;

namespace tk::document {

// File types of LoadFile and SaveFile.
inline constexpr int richTextType = 0;
inline constexpr int plainTextType = 1;

// Writes doc to path through a temporary file and a rename, so a failed save
// leaves the old file whole. The result names the reason of a failure.
FileResult saveDocument(const QTextDocument& doc, const QString& path, int type);
// Replaces doc's content with the file; on failure doc is left as it was.
FileResult loadDocument(QTextDocument& doc, const QString& path, int type);

// The whole text, a paragraph break as "\n", every character as it is held
// (no space in place of a no-break space).
QString plainText(const QTextDocument& doc);

// The file's bytes for doc, and doc's content from a file's bytes: the only
// places that know a file format.
QByteArray encodeDocument(const QTextDocument& doc, int type);
bool decodeDocument(const QByteArray& bytes, int type, QTextDocument& doc, QString& error);

} // namespace tk::document
