#pragma once

#include "result.h"

#include <QString>

class QTextCursor;
class QTextDocument;

namespace tk::document {

using rtf::Progress;
using rtf::Result;

// The file types of LoadFile and SaveFile.
enum FileType : int {
    RichTextFile = 0, // RTF; on loading, a file that is not RTF is read as plain text
    PlainTextFile = 1, // 8-bit text: each byte one character U+0000-U+00FF
};

// Replaces the document's content by the file. A file that cannot be read or
// is not a document (a folder, binary data, broken RTF) leaves the document
// as it was and says why, naming the file. The progress callback may cancel:
// while the file is read, the document stays as it was; once it is being
// built, the document is left part built (load into a document of its own
// to keep the shown one).
Result loadFile(QTextDocument& document, const QString& path, int type = RichTextFile,
                const Progress& progress = {});

// Writes the content through a temporary file beside the target, renamed over
// it only once complete: a failed save leaves the previous file as it was.
// Plain text ends each paragraph but the last with CR LF; characters above
// 255 become "?".
Result saveFile(const QTextDocument& document, const QString& path, int type = RichTextFile,
                const Progress& progress = {});

// The selection as RTF source, and its replacement by RTF source. Text that
// is not RTF is inserted as it stands, in the format at the cursor.
QString selRtf(const QTextCursor& cursor);
Result setSelRtf(QTextCursor& cursor, const QString& source);

// The whole content as RTF source, and its replacement. Text that is not RTF
// replaces the content as plain text.
QString textRtf(const QTextDocument& document);
Result setTextRtf(QTextDocument& document, const QString& source);

// The document's text as 8-bit plain text, and the reverse, as the plain
// text file type reads and writes it.
QByteArray toPlainBytes(const QTextDocument& document);
void setPlainBytes(QTextDocument& document, const QByteArray& bytes);

} // namespace tk::document
