#pragma once

#include <QString>

#include <functional>

namespace tk::rtf {

// The outcome of a load, save or parse: failures carry a sentence fit for a
// message box (naming the file where there is one).
struct Result {
    bool ok = true;
    QString error;

    static Result success() { return {}; }
    static Result failure(const QString& why) { return {false, why}; }
    explicit operator bool() const { return ok; }
};

// Told how far a long load or save has come (0..1). Returning false cancels;
// the operation then fails with "cancelled" and changes nothing.
using Progress = std::function<bool(double fraction)>;

} // namespace tk::rtf
