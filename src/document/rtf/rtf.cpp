#include "rtf.h"

#include "reader.h"
#include "text_document.h"
#include "writer.h"

#include <QTextCursor>
#include <QTextDocument>

namespace tk::rtf {

QByteArray documentToRtf(const QTextDocument& document, const Progress& progress)
{
    const RichText text = extractRichText(document, 0, -1, slice(progress, 0, 0.6));
    return writeRtf(text, slice(progress, 0.6, 0.4));
}

QByteArray selectionToRtf(const QTextCursor& cursor)
{
    const QTextDocument* document = cursor.document();
    if (!document)
        return writeRtf(RichText{{CharStyle{}}, {Paragraph{}}});
    return writeRtf(extractRichText(*document, cursor.selectionStart(), cursor.selectionEnd()));
}

Result rtfToDocument(QByteArrayView rtf, QTextDocument& document, const Progress& progress)
{
    RichText text;
    // Reading is the part that may fail or be cancelled; building never does.
    if (Result r = parseRtf(rtf, text, slice(progress, 0, 0.3)); !r)
        return r;
    replaceDocument(document, text, slice(progress, 0.3, 0.7));
    return Result::success();
}

Result rtfToSelection(QByteArrayView rtf, QTextCursor& cursor)
{
    RichText text;
    if (Result r = parseRtf(rtf, text); !r)
        return r;
    insertRichText(cursor, text);
    return Result::success();
}

} // namespace tk::rtf
