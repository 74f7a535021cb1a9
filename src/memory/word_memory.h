#pragma once

#include <QString>

namespace tk::memory {

enum class StoreResult { Stored, Nothing, TooLong, Failed };

// What the Insert command and the memory key dialog both do to keep a text
// under a key character: create the memory key, then store the text under the
// first character of keyChar in lower case. Nothing is stored (and no key
// made) for an empty key or text; a text longer than the store can give back
// is refused. When the settings file cannot be written, the result is Failed
// and *reason says why, fit for a message.
StoreResult storeWord(const QString& keyChar, const QString& text, QString* reason = nullptr);

// The message Insert shows when no word is selected.
QString nothingSelectedMessage();

// The message shown when a text is refused as too long.
QString tooLongMessage();

} // namespace tk::memory
