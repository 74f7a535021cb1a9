// Two ways a save could lose work that are not the disk's fault: the same
// file open in two windows, each saving over the other, and a file that
// another program changed while it was open here.
#include "mdi_form1.h"

#include <QDir>
#include <QFileInfo>

namespace tk::app {

document::Form1* MDIForm1::windowShowing(const QString& path) const
{
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty())
        return nullptr;
    for (document::Form1* form : documents()) {
        const QString caption = form->windowTitle();
        if (QDir::isAbsolutePath(caption) && QFileInfo(caption).canonicalFilePath() == wanted)
            return form;
    }
    return nullptr;
}

MDIForm1::Overwrite MDIForm1::askIfChangedOnDisk(const document::Form1& form, const QString& path)
{
    // Only the file this document came from or went to last is its own.
    if (!form.diskStamp.exists || path != form.windowTitle())
        return Overwrite::Yes;
    const files::FileStamp now = files::FileStamp::of(path);
    if (!now.exists || now == form.diskStamp)
        return Overwrite::Yes;
    const QString text = QStringLiteral("\"%1\" was changed by another program since Tamil Kalvem opened or saved it.\n\n"
                                        "Do you want to overwrite it with this document? Choose No to save the "
                                        "document under another name instead.")
                             .arg(QDir::toNativeSeparators(path));
    switch (dialogs().question(this, messageTitle, text)) {
    case DialogSeam::Answer::Yes: return Overwrite::Yes;
    case DialogSeam::Answer::No: return Overwrite::SaveElsewhere;
    default: return Overwrite::Stop;
    }
}

} // namespace tk::app
