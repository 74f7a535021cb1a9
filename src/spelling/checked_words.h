#pragma once

#include "spell_checker.h"

#include <QString>

#include <functional>

class QTextDocument;

namespace tk::spelling {

// A word the spell check looks at.
struct CheckedWord {
    int start = 0;
    int end = 0;        // one past its last character
    Language language = Language::English;
    QString text;       // as the document holds it: font codes for Tamil
    QString unicode;    // as the dictionary sees it
};

// Calls visit for every word of [from, to) that is checked, in order, until
// it returns false. Words in a Tamil display font are Tamil (their letters
// and signs are word characters); words in a font that writes Latin are
// English when all their letters are Latin (an apostrophe inside counts, as
// in "don't"). Words with digits, and words in any other font (symbols,
// other scripts), are not checked.
void forEachCheckedWord(const QTextDocument& document, int from, int to,
                        const std::function<bool(const CheckedWord&)>& visit);

} // namespace tk::spelling
