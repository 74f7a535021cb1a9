#include "document_io.h"

#include "reader.h"
#include "rtf.h"

#include "files/qt_safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>

namespace tk::document {

namespace {

// Larger files are refused rather than allowed to exhaust memory.
constexpr qint64 maxFileSize = qint64(256) << 20;

Result loadFailure(const QString& path, const QString& why)
{
    return Result::failure(QStringLiteral("Cannot open \"%1\": %2.").arg(QDir::toNativeSeparators(path), why));
}

Result saveFailure(const QString& path, const QString& why)
{
    return Result::failure(QStringLiteral("Cannot save \"%1\": %2.").arg(QDir::toNativeSeparators(path), why));
}

Result readFile(const QString& path, QByteArray& data)
{
    const QFileInfo info(path);
    if (path.isEmpty())
        return loadFailure(path, QStringLiteral("no file name was given"));
    if (info.isDir())
        return loadFailure(path, QStringLiteral("it is a folder, not a file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return loadFailure(path, file.errorString());
    if (file.size() > maxFileSize)
        return loadFailure(path, QStringLiteral("the file is larger than %1 MB").arg(maxFileSize >> 20));
    data = file.read(maxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return loadFailure(path, file.errorString());
    if (data.size() > maxFileSize)
        return loadFailure(path, QStringLiteral("the file is larger than %1 MB").arg(maxFileSize >> 20));
    return Result::success();
}

} // namespace

QByteArray toPlainBytes(const QTextDocument& document)
{
    const QString raw = document.toRawText();
    QByteArray out;
    out.reserve(raw.size());
    for (const QChar c : raw) {
        const char16_t u = c.unicode();
        if (u == QChar::ParagraphSeparator || u == QChar::LineSeparator)
            out.append("\r\n"); // the line end the documents are exchanged with
        else if (u == 0xFDD0 || u == 0xFDD1) // frame marks, not text
            continue;
        else
            out.append(u < 0x100 ? char(u) : '?');
    }
    return out;
}

void setPlainBytes(QTextDocument& document, const QByteArray& bytes)
{
    QString text = QString::fromLatin1(bytes);
    text.replace(QLatin1StringView("\r\n"), QLatin1StringView("\n"));
    text.replace(u'\r', u'\n');
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.setPlainText(text);
    document.setUndoRedoEnabled(undo);
}

Result loadFile(QTextDocument& document, const QString& path, int type, const Progress& progress)
{
    if (type != RichTextFile && type != PlainTextFile)
        return loadFailure(path, QStringLiteral("unknown file type %1").arg(type));
    QByteArray data;
    if (Result r = readFile(path, data); !r)
        return r;
    if (type == RichTextFile && rtf::looksLikeRtf(data)) {
        Result r = rtf::rtfToDocument(data, document, progress);
        return r ? r : loadFailure(path, r.error);
    }
    // Text files never hold NUL bytes; loading one would only show garbage.
    if (data.contains('\0'))
        return loadFailure(path, QStringLiteral("it is a binary file, neither text nor RTF"));
    setPlainBytes(document, data);
    if (progress)
        progress(1.0);
    return Result::success();
}

Result saveFile(const QTextDocument& document, const QString& path, int type, const Progress& progress)
{
    if (type != RichTextFile && type != PlainTextFile)
        return saveFailure(path, QStringLiteral("unknown file type %1").arg(type));
    if (path.isEmpty())
        return saveFailure(path, QStringLiteral("no file name was given"));
    if (QFileInfo(path).isDir())
        return saveFailure(path, QStringLiteral("it is a folder"));
    const QByteArray data = type == RichTextFile ? rtf::documentToRtf(document, progress) : toPlainBytes(document);
    const bool existed = QFileInfo::exists(path);
    if (QString why; !files::writeFileSafely(path, data, &why)) {
        Result r = saveFailure(path, why);
        if (existed)
            r.error += QStringLiteral(" The file keeps its previous content.");
        return r;
    }
    return Result::success();
}

QString selRtf(const QTextCursor& cursor)
{
    return QString::fromLatin1(rtf::selectionToRtf(cursor));
}

Result setSelRtf(QTextCursor& cursor, const QString& source)
{
    if (!rtf::looksLikeRtf(source.toLatin1()))
        // Plain text goes in as it is, in the format at the cursor.
        return cursor.insertText(source), Result::success();
    return rtf::rtfToSelection(source.toLatin1(), cursor);
}

QString textRtf(const QTextDocument& document)
{
    return QString::fromLatin1(rtf::documentToRtf(document));
}

Result setTextRtf(QTextDocument& document, const QString& source)
{
    const QByteArray bytes = source.toLatin1();
    if (rtf::looksLikeRtf(bytes))
        return rtf::rtfToDocument(bytes, document);
    document.setPlainText(source);
    return Result::success();
}

} // namespace tk::document
