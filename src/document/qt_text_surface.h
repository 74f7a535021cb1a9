#pragma once

#include "engine/text_surface.h"

#include <QString>
#include <QTextCharFormat>

class QTextEdit;

namespace tk::document {

// The engine's view of a rich text surface. Every edit is made with a text
// cursor on just the characters before the caret, so the formatting of the
// rest of the document survives and a keystroke costs the same in a short and
// a long document. The caret is the start of the selection.
class QtTextSurface final : public engine::TextSurface {
public:
    explicit QtTextSurface(QTextEdit& edit) : edit_(edit) {}

    int caret() const override;
    std::string before(int n) const override;
    void replaceBefore(int k, std::string_view text) override;
    void insert(std::string_view text) override;

    // While set, every edit joins the last undo step (the key release's dot
    // belongs to the key that asked for it).
    void setJoinLastStep(bool join) { join_ = join; }

    // Font codes as the surface's characters, and back. A paragraph break
    // reads as "\r"; a character with no 8-bit code reads as "\0", which
    // matches no font code.
    static QString fromCodes(std::string_view codes);
    static std::string toCodes(const QString& text);

private:
    void replace(int from, int to, std::string_view text);

    QTextEdit& edit_;
    bool join_ = false;
    // What the engine took out last, so that putting a character back in its
    // place (the consonant a vowel pulls back) keeps its look.
    int removedAt_ = -1;
    QTextCharFormat removedFormat_;
};

} // namespace tk::document
