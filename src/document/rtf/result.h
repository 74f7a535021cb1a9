#pragma once

#include <QString>

#include <functional>

namespace tk::rtf {

// The outcome of a load, save or parse: failures carry a sentence fit for a
// message box (naming the file where there is one).
struct Result {
    bool ok = true;
    QString error;
    // Said to the person after a success too: what the work could not keep
    // as it was (characters left unconverted, content left out of a loaded
    // file). Empty when nothing.
    QString notice;

    static Result success() { return {}; }
    static Result failure(const QString& why) { return {false, why, {}}; }
    explicit operator bool() const { return ok; }
};

// Told how far a long load or save has come (0..1). Returning false cancels;
// the operation then fails with "cancelled". A file is then left as it was;
// a document being built is left part built (see loadFile).
using Progress = std::function<bool(double fraction)>;

// One step of a longer task as part of its progress: maps 0..1 of the step
// into [from, from + span] of the whole.
inline Progress slice(const Progress& progress, double from, double span)
{
    if (!progress)
        return {};
    return [=](double f) { return progress(from + f * span); };
}

} // namespace tk::rtf
