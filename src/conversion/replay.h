#pragma once

// Re-typing a text through the phonetic engine, one character at a time, as
// if each were typed into the document that receives it.
#include "engine/engine.h"
#include "engine/string_surface.h"
#include "rtf/result.h"

#include <QString>

#include <string>
#include <string_view>

namespace tk::conversion {

// What the replay drives in the receiving document: its key mapper `w`, the
// insertion at the caret (SelText) and the dot (`Edit`); and, for a
// character that has no 8-bit code, putting it in as it is.
class Typist {
public:
    virtual ~Typist() = default;
    virtual std::string w(char ch) = 0;
    virtual void insert(std::string_view codes) = 0;
    virtual void Edit() = 0;
    virtual void keep(QChar ch) = 0;
};

// Feeds source through the typist, moving the key memory on after each
// character as typing does: keyBefore takes lastKey, lastKey the character
// (a blank for the separators). A character above 255 is kept as it is and
// ends the word, as when it is typed. False when progress cancelled.
bool replay(QStringView source, Typist& typist, engine::EngineState& state, const rtf::Progress& progress = {});

// The typist of a document window, working on a text of its own rather
// than on the shown text surface: the same engine with the window's members,
// fast enough for a whole file. text() is what the document then holds.
class DocumentTypist final : public Typist {
public:
    DocumentTypist(engine::EngineState& state, engine::DocumentState& members, QStringView source);

    std::string w(char ch) override { return engine_.w(ch); }
    void insert(std::string_view codes) override { surface_.insert(codes); }
    void Edit() override { engine_.edit(); }
    void keep(QChar ch) override;

    QString text() const;

private:
    engine::StringSurface surface_;
    engine::Engine engine_;
    char placeholder_;   // stands for a kept character in the 8-bit text
    QString kept_;       // the kept characters, in order
};

// A document's text as the source of a replay: its paragraphs joined by
// CR LF, as the plain text files hold them.
QString replaySource(const QString& documentText);

} // namespace tk::conversion
