#pragma once

#include <QString>
#include <QTextCharFormat>

#include <functional>

class QTextDocument;

namespace tk::document {

// A piece of a document in one format, or a paragraph break.
struct TextRun {
    int position = 0;        // of the first character in the document
    QString text;            // "\n" for a paragraph break
    QTextCharFormat format;
    QString family;          // the font it is written in
    bool tamilDisplayFont = false;
    bool paragraphBreak = false;
};

// Calls visit for every piece of [from, to) in document order, the
// characters of each format and the paragraph breaks between them, until it
// returns false. Read aloud and the spell check walk a selection through
// this, so a long text costs one pass over its fragments.
void forEachRun(const QTextDocument& document, int from, int to, const std::function<bool(const TextRun&)>& visit);

} // namespace tk::document
