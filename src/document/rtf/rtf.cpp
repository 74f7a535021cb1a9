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
        return writeRtf(RichText{{CharStyle{}}, {Paragraph{}}, {}});
    return writeRtf(extractRichText(*document, cursor.selectionStart(), cursor.selectionEnd()));
}

QString droppedNotice(const Dropped& dropped)
{
    QStringList parts;
    auto count = [&](int n, const char* one, const char* many) {
        if (n > 0)
            parts << QStringLiteral("%1 %2").arg(n).arg(QLatin1StringView(n == 1 ? one : many));
    };
    count(dropped.pictures, "picture", "pictures");
    count(dropped.objects, "embedded object", "embedded objects");
    count(dropped.tables, "table", "tables");
    if (parts.isEmpty())
        return {};
    const bool one = dropped.pictures + dropped.objects + dropped.tables == 1;
    const QString last = parts.takeLast();
    const QString list = parts.isEmpty() ? last : parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    QString text = QStringLiteral("This document holds %1 that Tamil Kalvem cannot show").arg(list);
    if (dropped.tables > 0)
        text += QStringLiteral(" (the text of a table is kept, as plain lines)");
    return text + (one ? QStringLiteral(". It is left out: you can go on editing, but saving the document will drop it from the file.")
                       : QStringLiteral(". They are left out: you can go on editing, but saving the document will drop them from the file."));
}

Result rtfToDocument(QByteArrayView rtf, QTextDocument& document, const Progress& progress)
{
    RichText text;
    // Reading may fail; reading and building may be cancelled.
    if (Result r = parseRtf(rtf, text, slice(progress, 0, 0.3)); !r)
        return r;
    if (!replaceDocument(document, text, slice(progress, 0.3, 0.7)))
        return Result::failure(QStringLiteral("cancelled"));
    Result r = Result::success();
    r.notice = droppedNotice(text.dropped);
    return r;
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
