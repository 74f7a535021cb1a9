#pragma once

#include "checked_words.h"

#include <QPointer>
#include <QStringList>
#include <QTextCursor>

#include <QTextEdit>

namespace tk::spelling {

class SpellChecker;

// The suggestions for a Tamil word as the document writes them, in font
// codes. Suggestions the codes cannot hold exactly are left out, so that
// what is offered is what goes into the document.
QStringList tamilSuggestions(SpellChecker& checker, const QString& unicodeWord);

// One spelling check through a text surface: the selection, or the whole
// document when nothing is selected. It stops at each word the dictionaries
// do not know, selects it in the document and waits for the person's
// choice. Each Change is one undo step, Change All one step for all its
// copies. Positions follow edits the person makes meanwhile.
class SpellCheck {
public:
    SpellCheck(QTextEdit& box, SpellChecker& checker);

    // Goes to the next misspelt word; false when there is none left.
    bool next();
    bool atEnd() const { return atEnd_; }
    const CheckedWord& word() const { return word_; }
    // In the document's writing (font codes for Tamil), best first.
    const QStringList& suggestions() const { return suggestions_; }
    // The font the word is written in, to show it and its suggestions.
    QString family() const { return family_; }
    // The sentence around the word, and where the word is in it.
    QTextCursor sentence() const;
    QTextEdit* box() const { return box_; }
    int changed() const { return changed_; }

    // Each goes on to the next misspelt word.
    void change(const QString& replacement);
    void changeAll(const QString& replacement);
    void ignore();
    void ignoreAll();
    // False when the personal word list could not be written (the check
    // then stays at the word).
    bool addToDictionary();
    // Puts the person's own selection back.
    void restoreSelection();

private:
    bool findFrom(int position);
    bool atShownWord();

    QPointer<QTextEdit> box_;
    SpellChecker& checker_;
    QTextCursor original_;   // the selection when the check started
    QTextCursor end_;        // where the check ends
    QTextCursor current_;    // the word shown, selected
    CheckedWord word_;
    QStringList suggestions_;
    QString family_;
    int changed_ = 0;
    bool atEnd_ = false;
};

} // namespace tk::spelling
