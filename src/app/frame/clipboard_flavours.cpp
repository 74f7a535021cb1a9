#include "clipboard_flavours.h"

#include "document/rtf/document_io.h"
#include "document/rtf/reader.h"
#include "document/tamil_runs.h"
#include "unicode/unicode_document.h"

#include <QMimeData>
#include <QTextCursor>

namespace tk::app {

namespace {

const QString rtfFormats[] = {QStringLiteral("text/rtf"), QStringLiteral("text/richtext"),
                              QStringLiteral("application/rtf")};

} // namespace

QMimeData* selectionFlavours(const QTextCursor& selection)
{
    auto* data = new QMimeData;
    const QString rtf = document::selRtf(selection);
    data->setText(rtf);
    data->setData(rtfFormats[0], rtf.toLatin1());
    data->setHtml(unicode::unicodeHtml(selection));
    return data;
}

QString richPasteSource(const QMimeData* data)
{
    if (!data)
        return {};
    for (const QString& format : rtfFormats) {
        if (data->hasFormat(format)) {
            const QByteArray rtf = data->data(format);
            if (rtf::looksLikeRtf(rtf))
                return QString::fromLatin1(rtf);
        }
    }
    return data->text();
}

void pasteRich(QTextCursor& cursor, const QString& source)
{
    if (!rtf::looksLikeRtf(source.toLatin1())) {
        document::insertWithTamilCodes(cursor, source);
        return;
    }
    cursor.beginEditBlock();
    const int start = cursor.selectionStart();
    if (!document::setSelRtf(cursor, source)) {
        cursor.endEditBlock();
        return;
    }
    // Another writer's RTF holds Tamil as Unicode (\uN).
    cursor.setPosition(start, QTextCursor::KeepAnchor);
    unicode::convertToCodes(cursor);
    cursor.setPosition(cursor.selectionEnd());
    cursor.endEditBlock();
}

} // namespace tk::app
