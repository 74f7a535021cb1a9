#include "document_io.h"

#include "qt_formats.h"
#include "reader.h"
#include "rtf.h"
#include "text_document.h"
#include "unicode/unicode_file.h"
#include "unicode/unicode_runs.h"

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

// Unicode Tamil becomes codes in the display font; what has no code stays
// and the person is told how much.
Result takeUnicodeTamil(rtf::RichText& text, const QString& path)
{
    if (!unicode::holdsUnicodeTamil(text))
        return Result::success();
    const unicode::UnicodeIn count = unicode::codesFromUnicode(text);
    Result r;
    r.notice = unicode::unconvertedNotice(count.unconverted, QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path)));
    return r;
}

// Unicode text and web pages: Latin in a Latin font (the document's default
// is a Tamil display font), Tamil as codes.
Result loadUnicode(QTextDocument& document, const unicode::DecodedText& decoded, const QString& path,
                   const Progress& progress)
{
    QFont latin = document.defaultFont();
    latin.setFamily(QString::fromLatin1(unicode::defaultLatinFamily));
    rtf::RichText text;
    if (decoded.kind == unicode::TextKind::Html) {
        QTextDocument page;
        page.setDefaultFont(latin);
        page.setHtml(decoded.text);
        text = rtf::extractRichText(page, 0, -1, rtf::slice(progress, 0, 0.3));
    } else {
        text = unicode::richTextOfPlainText(decoded.text, rtf::charStyleOf(QTextCharFormat(), latin));
    }
    if (progress && !progress(0.3))
        return loadFailure(path, QStringLiteral("cancelled"));
    Result r = takeUnicodeTamil(text, path);
    if (!rtf::replaceDocument(document, text, rtf::slice(progress, 0.3, 0.7)))
        return loadFailure(path, QStringLiteral("cancelled"));
    return r;
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
        rtf::RichText text;
        // Reading may fail; reading and building may be cancelled.
        if (Result r = rtf::parseRtf(data, text, rtf::slice(progress, 0, 0.3)); !r)
            return loadFailure(path, r.error);
        Result r = takeUnicodeTamil(text, path);
        if (const QString dropped = rtf::droppedNotice(text.dropped); !dropped.isEmpty())
            r.notice = r.notice.isEmpty() ? dropped : r.notice + QStringLiteral("\n\n") + dropped;
        if (!rtf::replaceDocument(document, text, rtf::slice(progress, 0.3, 0.7)))
            return loadFailure(path, QStringLiteral("cancelled"));
        return r;
    }
    if (type == RichTextFile) {
        if (const unicode::DecodedText decoded = unicode::decodeText(data, path); decoded.kind != unicode::TextKind::Bytes)
            return loadUnicode(document, decoded, path, progress);
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
