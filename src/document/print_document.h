#pragma once

#include "rtf/result.h"

class QPrinter;
class QTextDocument;

namespace tk::document {

// Prints the text between two positions of document (the whole document
// when to is -1) on printer's pages, within the printer's margins. The
// shown document is copied first, so laying it out for the page leaves it
// alone. Fails, naming the printer or file, when printing cannot start.
rtf::Result printDocument(const QTextDocument& document, int from, int to, QPrinter& printer,
                          const rtf::Progress& progress = {});

} // namespace tk::document
