#pragma once

#include <QList>
#include <QString>

class QTextCursor;

namespace tk::document {

// A piece of a text that came from elsewhere (the clipboard): either font
// codes made from Unicode Tamil, or text as it stood.
struct TextRun {
    QString text;
    bool codes = false;
};

// Splits text into runs, each run of Unicode Tamil written as the font codes
// that typing it gives. Unicode Tamil means nothing to the phonetic keys or
// to a display font, so the rest of the program only ever sees the codes.
// A Tamil character the codes cannot write (a Tamil digit, say) stays as it
// is, in the run around it. Text without Tamil is one run.
QList<TextRun> tamilRunsToCodes(const QString& text);

bool isUnicodeTamil(QChar c);

// Inserts plain text at the cursor in place of its selection, as one undo
// step: its Unicode Tamil as codes, in the font at the cursor when that is a
// Tamil display font and in "Kolvani" otherwise; the rest in the format at
// the cursor.
void insertWithTamilCodes(QTextCursor& cursor, const QString& text);

} // namespace tk::document
