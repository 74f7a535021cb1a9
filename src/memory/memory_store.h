#pragma once

#include <QString>

// The per-user store behind the word memory and the last saved path: one key
// of named string values, kept in an INI file in the user's configuration
// folder. Every operation opens the file, does its work and closes it again,
// so two running copies of the program see each other's entries.
namespace tk::memory {

inline constexpr char memoryKey[] = "tamilkalvem";
// A stored text reads back only if it is at most this long.
inline constexpr int maxStoredLength = 254;

// $XDG_CONFIG_HOME/tamilkalvem/tamilkalvem.ini (the file stands for the key).
QString storePath();

// Creates the key if it is missing. False, with the reason, when the file
// could not be made.
bool CreateKey(const QString& keyName, QString* reason = nullptr);
// Sets a value of an existing key; writes nothing when the key is missing.
// The file is replaced whole or not at all, keeping every line it holds
// (also those that cannot be read) apart from the value's own. False, with
// a reason fit for a message, when nothing was stored: no key, a file that
// cannot be read or written, a full disk.
bool WriteValue(const QString& keyName, const QString& valueName, const QString& data, QString* reason = nullptr);
// The stored text without blanks at its two ends, or "" on any failure (no
// key, no value, a text longer than maxStoredLength, an unreadable file or
// entry). Value names match case-insensitively. A damaged line costs only
// its own entry.
QString ReadValue(const QString& keyName, const QString& valueName);

} // namespace tk::memory
