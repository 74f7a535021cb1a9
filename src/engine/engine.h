#pragma once

#include "engine_state.h"
#include "text_surface.h"

#include <string>
#include <string_view>

namespace tk::engine {

// The combined (u/uu) code of a consonant code, or the code itself when it has
// none; sets signClass to the mark that must follow it (0 none, 1 "}", 2 "+").
char vowelForm(char code, EngineState& state);

// The phonetic engine bound to one document: the program-wide key memory,
// the document's own members and its text. Cheap to construct; the document
// window and the feeding loops make one whenever they need it.
class Engine {
public:
    Engine(EngineState& shared, DocumentState& doc, TextSurface& surface)
        : s_(shared), doc_(doc), text_(surface) {}

    // The key mapper: may edit the text before the caret; returns at most one
    // font code for the caller to insert at the caret.
    std::string w(char cho);

    // Rewrite the cluster before the caret with vowel g (1..10).
    void correct(unsigned g);
    void pullBack();
    void swapMark();
    void appendSign();
    void edit(); // the dot after a consonant

    // Keystroke path, with the Tamil typing switch on: maps the key and moves
    // the memory on. Returns the code to insert instead of the typed key ("" to
    // swallow it).
    std::string keyPress(char typed);
    // Key release: shiftState is the bit set 1 Shift, 2 Ctrl, 4 Alt.
    void keyRelease(int shiftState, bool convertOn);

    // Text feeding, as Paste special and Convert File do: each character
    // through the mapper, its code and any dot inserted at the caret.
    void feed(std::string_view text);

private:
    EngineState& s_;
    DocumentState& doc_;
    TextSurface& text_;
};

} // namespace tk::engine
