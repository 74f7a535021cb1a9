#include "unicode_document.h"

#include "files/qt_safe_write.h"

#include "unicode_file.h"
#include "unicode_html.h"

#include "rtf/text_document.h"

#include <QDir>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>

namespace tk::unicode {

namespace {

using rtf::Progress;
using rtf::Result;
using rtf::slice;

rtf::RichText selection(const QTextCursor& cursor)
{
    const QTextDocument* document = cursor.document();
    if (!document || !cursor.hasSelection())
        return {};
    return rtf::extractRichText(*document, cursor.selectionStart(), cursor.selectionEnd());
}

Result failure(const QString& verb, const QString& path, const QString& why)
{
    return Result::failure(QStringLiteral("Cannot %1 \"%2\": %3.").arg(verb, QDir::toNativeSeparators(path), why));
}

const QString exportVerb = QStringLiteral("export");

} // namespace

UnicodeIn convertToCodes(QTextDocument& document, const QString& latinFamily)
{
    rtf::RichText text = rtf::extractRichText(document);
    if (!holdsUnicodeTamil(text))
        return {};
    const UnicodeIn count = codesFromUnicode(text, latinFamily);
    rtf::replaceDocument(document, text);
    return count;
}

UnicodeIn convertToCodes(QTextCursor& cursor, const QString& latinFamily)
{
    rtf::RichText text = selection(cursor);
    if (!holdsUnicodeTamil(text))
        return {};
    const UnicodeIn count = codesFromUnicode(text, latinFamily);
    const int start = cursor.selectionStart();
    rtf::insertRichText(cursor, text);
    const int end = cursor.position();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return count;
}

QString unicodeHtml(const QTextDocument& document, const Progress& progress, const QString& title)
{
    const rtf::RichText text = rtf::extractRichText(document, 0, -1, slice(progress, 0, 0.5));
    return htmlOf(unicodeFromCodes(text), title.isEmpty() ? document.metaInformation(QTextDocument::DocumentTitle) : title);
}

QString unicodeHtml(const QTextCursor& cursor) { return htmlOf(unicodeFromCodes(selection(cursor))); }

QString unicodeText(const QTextDocument& document, QStringView lineEnd, const Progress& progress)
{
    return plainTextOf(unicodeFromCodes(rtf::extractRichText(document, 0, -1, slice(progress, 0, 0.5))), lineEnd);
}

QString unicodeText(const QTextCursor& cursor, QStringView lineEnd)
{
    return plainTextOf(unicodeFromCodes(selection(cursor)), lineEnd);
}

ExportFormat exportFormatFor(const QString& path)
{
    return isHtmlName(path) ? ExportFormat::Html : ExportFormat::Text;
}

Result writeWholeFile(const QString& path, const QByteArray& data, const QString& verb)
{
    if (path.isEmpty())
        return failure(verb, path, QStringLiteral("no file name was given"));
    if (QFileInfo(path).isDir())
        return failure(verb, path, QStringLiteral("it is a folder"));
    // The one safe write: every byte checked and synced before the rename,
    // and the system's reason ("the disk is full") when it fails.
    if (QString why; !files::writeFileSafely(path, data, &why))
        return failure(verb, path, why);
    return Result::success();
}

Result exportUnicode(const QTextDocument& document, const QString& path, ExportFormat format,
                     const Progress& progress, const QString& title)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return writeWholeFile(path, {}, exportVerb); // says why before any work
    const QString text = format == ExportFormat::Html ? unicodeHtml(document, slice(progress, 0, 0.8), title)
                                                      : unicodeText(document, u"\r\n", slice(progress, 0, 0.8));
    const Result written = writeWholeFile(path, text.toUtf8(), exportVerb);
    if (written && progress)
        progress(1.0);
    return written;
}

} // namespace tk::unicode
