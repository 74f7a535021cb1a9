#pragma once

// Unicode Tamil in and out of a text document: what Open, Export, the
// clipboard and other programs' windows use. No widgets.
#include "rtf/result.h"
#include "unicode_runs.h"

#include <QString>

class QTextCursor;
class QTextDocument;

namespace tk::unicode {

// Unicode in. Turns the Unicode Tamil of the document, or of the cursor's
// selection, into codes in "Kolvani" (see codesFromUnicode): Latin stays
// Latin, and text in a Tamil display font is taken as codes already, so
// text meant as Latin must not be in one (give a scratch document a Latin
// default font before filling it from outside). The whole-document form
// replaces the content without an undo step; the selection form is one undo
// step and leaves the converted text selected. Nothing changes when there is
// no Unicode Tamil.
UnicodeIn convertToCodes(QTextDocument& document, const QString& latinFamily = QString::fromLatin1(defaultLatinFamily));
UnicodeIn convertToCodes(QTextCursor& cursor, const QString& latinFamily = QString::fromLatin1(defaultLatinFamily));

// Unicode out, of the whole document or the cursor's selection: runs in a
// Tamil display font as Unicode Tamil, other runs as they are. The document
// does not change.
QString unicodeHtml(const QTextDocument& document, const rtf::Progress& progress = {}, const QString& title = {});
QString unicodeHtml(const QTextCursor& cursor);
QString unicodeText(const QTextDocument& document, QStringView lineEnd = u"\n", const rtf::Progress& progress = {});
QString unicodeText(const QTextCursor& cursor, QStringView lineEnd = u"\n");

// Export as Unicode: a web page for .htm/.html/.xhtml, else UTF-8 text with
// CR LF line ends, as the plain text files are written. Written through a
// temporary file: a failed export leaves the previous file as it was.
enum class ExportFormat { Text, Html };
ExportFormat exportFormatFor(const QString& path);
// title: the page's title (the document's own one when empty).
rtf::Result exportUnicode(const QTextDocument& document, const QString& path, ExportFormat format,
                          const rtf::Progress& progress = {}, const QString& title = {});

// Writes data whole through a temporary file beside path, renamed over it
// only once complete; a failure leaves the previous file and says why, as
// "Cannot <verb> "path": reason.".
rtf::Result writeWholeFile(const QString& path, const QByteArray& data, const QString& verb);

} // namespace tk::unicode
