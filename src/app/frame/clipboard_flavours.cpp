#include "clipboard_flavours.h"

#include "document/rtf/document_io.h"
#include "document/rtf/reader.h"
#include "document/tamil_runs.h"

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
    document::setSelRtf(cursor, source);
    cursor.endEditBlock();
}

} // namespace tk::app
