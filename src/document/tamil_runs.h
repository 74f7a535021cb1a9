#pragma once

#include <QList>
#include <QString>

class QTextCursor;

namespace tk::document {

// A piece of a text that came from elsewhere (the clipboard): either font
// codes made from its Unicode Tamil, or text as it stood.
struct PastedRun {
    QString text;
    bool codes = false;
};

// Splits text into runs, its Unicode Tamil written as the font codes that
// typing it gives (a character no code writes stays as it is), line breaks
// as "\n". Unicode Tamil means nothing to the phonetic keys, so Paste
// special types only the rest. Text without Tamil is one run.
QList<PastedRun> tamilRunsToCodes(const QString& text);

// Inserts plain text at the cursor in place of its selection, in the format
// at the cursor, as one undo step, its Unicode Tamil as codes (in "Kolvani"
// unless the cursor's font is a Tamil display font). The cursor ends after it.
void insertWithTamilCodes(QTextCursor& cursor, const QString& text);

} // namespace tk::document
