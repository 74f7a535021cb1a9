#pragma once

#include "rtf/result.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

class QPrinter;

namespace tk::document {

class RichTextBox;

// Shows how far a long load or save has come. Work that ends within about
// half a second shows nothing; after that a progress dialog appears over
// parent and follows the callback. It is modal to the window (no typing into
// a document while it is read or written) but never waits for an answer: it
// goes when this object goes.
class FileProgress {
public:
    // cancellable: the dialog offers Cancel, and the callback then returns
    // false, which stops a load.
    FileProgress(QWidget* parent, const QString& label, bool cancellable);
    ~FileProgress();
    FileProgress(const FileProgress&) = delete;
    FileProgress& operator=(const FileProgress&) = delete;

    rtf::Progress callback();
    bool cancelled() const { return cancelled_; }
    // The dialog once it has appeared, for tests.
    QProgressDialog* dialog() const { return dialog_; }

    static constexpr int showAfterMs = 500;

private:
    bool report(double fraction);

    QWidget* parent_;
    QString label_;
    bool cancellable_;
    bool cancelled_ = false;
    QElapsedTimer clock_;
    QPointer<QProgressDialog> dialog_;
};

// The busy pointer over the program for as long as this object lives.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// LoadFile and SaveFile of the text surface in rich text, showing progress
// over parent when they take long. cancelled (if given) tells whether the
// person cancelled a load; the failure then needs no message.
rtf::Result loadShowingProgress(QWidget* parent, RichTextBox& box, const QString& path, bool* cancelled = nullptr);
rtf::Result saveShowingProgress(QWidget* parent, const RichTextBox& box, const QString& path);
// SelPrint, likewise.
rtf::Result printShowingProgress(QWidget* parent, const RichTextBox& box, QPrinter& printer);

} // namespace tk::document
