#pragma once

#include "result.h"

#include <QByteArray>
#include <QByteArrayView>

class QTextCursor;
class QTextDocument;

namespace tk::rtf {

// The whole document, or the cursor's selection, as RTF source.
QByteArray documentToRtf(const QTextDocument& document, const Progress& progress = {});
QByteArray selectionToRtf(const QTextCursor& cursor);

// Replaces the document's content by the RTF source, or the cursor's
// selection by it. When the source cannot be read nothing in the document
// changes; cancelled while the document is built, it is left part built.
// The result's notice tells of pictures, objects and tables that were left
// out (see droppedNotice).
Result rtfToDocument(QByteArrayView rtf, QTextDocument& document, const Progress& progress = {});
Result rtfToSelection(QByteArrayView rtf, QTextCursor& cursor);

struct Dropped;
// What to tell a person about content a file held that is not shown: how
// much of what, and that saving drops it. "" when nothing was left out.
QString droppedNotice(const Dropped& dropped);

} // namespace tk::rtf
