#pragma once

#include "result.h"
#include "rich_text.h"

class QTextCursor;
class QTextDocument;

namespace tk::rtf {

// The paragraphs and runs of the document between two positions (the whole
// document when to is -1). Properties a format leaves unset are resolved
// against the document's default font, so every run says its font in full.
RichText extractRichText(const QTextDocument& document, int from = 0, int to = -1,
                         const Progress& progress = {});

// Inserts the paragraphs at the cursor, replacing its selection. The first
// paragraph joins the block at the cursor; its format is applied only when
// more paragraphs follow. All checks happen before this point; false only
// when progress returned false, with the paragraphs so far inserted.
bool insertRichText(QTextCursor& cursor, const RichText& text, const Progress& progress = {});

// Replaces the whole content of the document, without an undo step; false,
// with the document part built, when progress returned false.
bool replaceDocument(QTextDocument& document, const RichText& text, const Progress& progress = {});

} // namespace tk::rtf
