#pragma once

#include <QString>

class QTextEdit;

namespace tk::find {

// Replaces every match of text by replacement, from the start of the
// document or from the caret on, and returns how many were replaced.
// options are the text surface's Find options (2 whole word, 4 match case).
//
// Each search goes on from the end of the replacement before it, so a
// replacement that holds the text ("a" by "ab") is not found again. The
// matches are all found first and then replaced in one undo step. The caret
// ends after the last replacement, and stays where it was when nothing
// matched.
// An empty text or replacement replaces nothing.
qint64 replaceAll(QTextEdit& edit, const QString& text, const QString& replacement, int options, bool fromStart);

} // namespace tk::find
