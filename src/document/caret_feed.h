#pragma once

#include "engine/engine_state.h"
#include "rtf/result.h"

#include <QString>

namespace tk::document {

class RichTextBox;

// Feeds text through the phonetic engine at the caret of edit, as if its
// keys were typed there one by one: each character through the key mapper,
// its code and any dot written at the caret, the key memory moved on. The
// selection goes first. Runs of Unicode Tamil go in as their font codes and
// other characters without an 8-bit code as they are, each ending the word.
//
// The engine works on a copy of the text just before the caret, reaching
// back into the document only as far as it looks, and the result is written
// back once, in the format that typing at the caret gives (the typing font
// of the box included): one undo step, and a megabyte of text in a fraction
// of a second. progress hears how far the feeding has come.
void feedAtCaret(RichTextBox& edit, engine::EngineState& keys, engine::DocumentState& members, const QString& text,
                 const rtf::Progress& progress = {});

} // namespace tk::document
