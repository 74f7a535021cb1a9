#pragma once

#include <QString>

class QMimeData;
class QTextCursor;

namespace tk::app {

// The selection as Copy and Cut put it on the clipboard: its RTF as the text
// (what a plain-text editor of another program receives, and what Paste
// reads back), the same RTF as "text/rtf" for other word processors, and
// HTML for browsers and mail, the Tamil in it written as Unicode Tamil.
QMimeData* selectionFlavours(const QTextCursor& selection);

// What Paste inserts: RTF that another program offers, else the text.
QString richPasteSource(const QMimeData* data);

// Paste: RTF source goes in formatted, Tamil that it holds as Unicode as
// codes in "Kolvani"; any other text as plain text with its Unicode Tamil
// as codes. One undo step.
void pasteRich(QTextCursor& cursor, const QString& source);

} // namespace tk::app
