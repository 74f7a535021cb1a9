#pragma once

#include <QString>

class QAction;
class QWidget;

namespace tk::find {

// Asks for the word to find in the program's input box, whose keys go
// through the phonetic engine while convert is checked (with a key memory
// of the box's own). The empty string when the box is cancelled.
QString askFindWord(QWidget* parent, QAction* convert);

} // namespace tk::find
