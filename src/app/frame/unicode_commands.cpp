// Convert a document (the Convert File dialog), and the two ways a document
// goes out to the Unicode world: Export as Unicode and Copy as Unicode. The
// document and its file never change.
#include "mdi_form1.h"

#include "document/file_progress.h"
#include "unicode/unicode_document.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

namespace tk::app {

void MDIForm1::Convert_document_Click()
{
    if (!form4_) {
        conversion::ConversionHost host{[this] {
                                            new_Click();
                                            return ActiveForm();
                                        },
                                        links()};
        form4_ = new conversion::Form4(std::move(host), this);
    }
    form4_->show();
    form4_->raise();
    form4_->activateWindow();
}

void MDIForm1::Export_unicode_Click()
{
    document::Form1* form = ActiveForm();
    if (!form)
        return;
    cd1_.DialogTitle = QStringLiteral("Export as Unicode");
    cd1_.Filter = QStringLiteral("Unicode text|*.txt|Web page|*.html;*.htm");
    const auto extension = [this] { return cd1_.FilterIndex == 2 ? QStringLiteral(".html") : QStringLiteral(".txt"); };
    // Offered beside the document's own file, under its name, but never as
    // that file itself: exporting leaves the document's file as it is.
    const QFileInfo source(form->windowTitle());
    const bool hasFile = source.isAbsolute();
    if (hasFile) {
        QString offered = source.dir().filePath(source.completeBaseName() + extension());
        if (QFileInfo(offered) == source)
            offered = source.dir().filePath(source.completeBaseName() + QStringLiteral(" (Unicode)") + extension());
        cd1_.FileName = offered;
    }
    if (!cd1_.ShowSave(this))
        return;
    // A name without an extension takes the one of the chosen filter.
    QString path = cd1_.FileName;
    if (QFileInfo(path).suffix().isEmpty())
        path += extension();
    if (hasFile && QFileInfo(path) == source) {
        dialogs().message(this, messageTitle,
                          QStringLiteral("\"%1\" is the document's own file, which exporting leaves as it is. "
                                         "Export to another name.")
                              .arg(QDir::toNativeSeparators(path)));
        return;
    }
    document::FileProgress progress(this, QStringLiteral("Exporting %1").arg(QDir::toNativeSeparators(path)), false);
    const document::Result exported = unicode::exportUnicode(*form->RichTextBox1->document(), path,
                                                             unicode::exportFormatFor(path), progress.callback(),
                                                             hasFile ? source.completeBaseName() : form->windowTitle());
    if (!exported)
        dialogs().message(this, messageTitle, exported.error);
}

void MDIForm1::Copy_unicode_Click()
{
    document::Form1* form = ActiveForm();
    if (!form)
        return;
    const QTextCursor selection = form->RichTextBox1->textCursor();
    if (!selection.hasSelection())
        return;
    auto* data = new QMimeData;
    data->setText(unicode::unicodeText(selection));
    data->setHtml(unicode::unicodeHtml(selection));
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace tk::app
