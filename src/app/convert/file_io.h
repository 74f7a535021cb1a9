#pragma once

#include <string>

namespace tk::cli {

// Reads a whole regular file (or standard input for "-") as bytes. On failure
// returns false and a reason fit for a message.
bool readAll(const std::string& path, std::string& data, std::string& error);

// Replaces path by data through a temporary file beside it and a rename, so a
// failure at any point leaves the old file as it was. Keeps the file's mode.
bool writeAtomically(const std::string& path, const std::string& data, std::string& error);

} // namespace tk::cli
