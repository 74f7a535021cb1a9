#pragma once

#include <QChar>

class QTextDocument;

namespace tk::document {

// Word characters as whole-word search, double-click and the spell check see
// them. In a Tamil display font many punctuation codes are letters (";" is
// the pulli, "," is இ), so every code the font draws as a Tamil letter or
// sign counts; everywhere else the usual rule holds: letters, digits, marks
// and "_".
bool isWordCharacter(QChar c, bool tamilDisplayFont);

// The same for the character at position pos of the document, judged by the
// font it is written in. Positions outside the text are not word characters.
// It looks the character's fragment up each time: loops over long texts
// should judge whole fragments with isWordCharacter instead.
bool isWordCharacterAt(const QTextDocument& document, int pos);

struct WordSpan {
    int start = 0;
    int end = 0; // one past the last character; start == end when pos is not in a word
};

// The word around position pos (the character at pos, or, when that is not
// a word character, the one just before it). Words never cross paragraphs.
WordSpan wordAt(const QTextDocument& document, int pos);

// Where the word keys take the caret from pos: the start of the next word
// (or the paragraph's end), the start of this or the previous word (or the
// paragraph's start); from a paragraph's end or start, over the break.
int nextWordPlace(const QTextDocument& document, int pos);
int previousWordPlace(const QTextDocument& document, int pos);

} // namespace tk::document
