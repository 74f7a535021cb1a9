#pragma once

#include <QString>

#include <string>

class QTextDocument;

namespace tk::document {

// Where the caret may stand in a document: the letter rules of the engine
// (engine/letters.h) applied to each paragraph, reading the characters in a
// Tamil display font as font codes and every other character as a letter of
// its own. Positions count as the text surface counts them; a paragraph
// break is a place of its own. Each call reads only a few characters around
// the position, so it costs the same in a short and a long paragraph.

enum class Toward { Start, End };

// pos itself when a caret may stand there, else the start or the end of the
// letter it falls in.
int snapToLetter(const QTextDocument& document, int pos, Toward toward);
// The nearer of the two ends of the letter pos falls in (the start on a tie).
int nearestLetterPlace(const QTextDocument& document, int pos);

// One letter on from pos (a paragraph break counts as one step).
int previousLetterPlace(const QTextDocument& document, int pos);
int nextLetterPlace(const QTextDocument& document, int pos);

// The letter just before pos, or just after it, within its paragraph, with
// its font codes ('\0' for a character outside the display fonts). Empty
// (start == end) at the paragraph's start, or its end.
struct Letter {
    int start = 0;
    int end = 0;
    std::string codes;
};
Letter letterBefore(const QTextDocument& document, int pos);
Letter letterAfter(const QTextDocument& document, int pos);

} // namespace tk::document
