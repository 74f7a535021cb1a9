#include "file_progress.h"

#include "rich_text_box.h"

#include "seam/common_dialog.h"

#include <QDir>
#include <QGuiApplication>

namespace tk::document {

namespace {

constexpr int steps = 1000;

} // namespace

FileProgress::FileProgress(QWidget* parent, const QString& label, bool cancellable)
    : parent_(parent), label_(label), cancellable_(cancellable)
{
    clock_.start();
}

FileProgress::~FileProgress() { delete dialog_.data(); }

rtf::Progress FileProgress::callback()
{
    return [this](double fraction) { return report(fraction); };
}

bool FileProgress::report(double fraction)
{
    if (!dialog_) {
        // Made only once the work has run long enough to be worth showing,
        // so quick loads and saves pay nothing for it.
        if (clock_.elapsed() < showAfterMs || fraction >= 1.0)
            return true;
        dialog_ = new QProgressDialog(label_, QStringLiteral("Cancel"), 0, steps, parent_);
        dialog_->setWindowTitle(seam::messageTitle);
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        if (!cancellable_)
            dialog_->setCancelButton(nullptr);
        dialog_->show();
    }
    // A window-modal dialog lets the events through here, so it paints and
    // its Cancel button works while the work goes on.
    dialog_->setValue(std::clamp(int(fraction * steps), 0, steps));
    if (cancellable_ && dialog_->wasCanceled())
        cancelled_ = true;
    return !cancelled_;
}

BusyPointer::BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }

BusyPointer::~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }

rtf::Result loadShowingProgress(QWidget* parent, RichTextBox& box, const QString& path, bool* cancelled)
{
    FileProgress progress(parent, QStringLiteral("Opening %1").arg(QDir::toNativeSeparators(path)), true);
    const rtf::Result loaded = box.LoadFile(path, RichTextFile, progress.callback());
    if (cancelled)
        *cancelled = progress.cancelled();
    return loaded;
}

rtf::Result saveShowingProgress(QWidget* parent, const RichTextBox& box, const QString& path)
{
    // The writer cannot stop half-way, so there is nothing to cancel.
    FileProgress progress(parent, QStringLiteral("Saving %1").arg(QDir::toNativeSeparators(path)), false);
    return box.SaveFile(path, RichTextFile, progress.callback());
}

rtf::Result printShowingProgress(QWidget* parent, const RichTextBox& box, QPrinter& printer)
{
    FileProgress progress(parent, QStringLiteral("Printing"), false);
    return box.SelPrint(&printer, progress.callback());
}

} // namespace tk::document
