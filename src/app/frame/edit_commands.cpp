// The Edit menu's commands (also the context menu's and the toolbar's):
// the clipboard, Paste special, Delete, Find and Replace. Each acts on the
// active document and does nothing when none is open.
#include "clipboard_flavours.h"
#include "mdi_form1.h"

#include "document/caret_feed.h"
#include "document/file_progress.h"
#include "document/tamil_runs.h"
#include "document/text_search.h"
#include "find/find_prompt.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace tk::app {

namespace {

QClipboard& clipboard() { return *QGuiApplication::clipboard(); }

} // namespace

void MDIForm1::copy_Click()
{
    if (document::Form1* form = ActiveForm())
        clipboard().setMimeData(selectionFlavours(form->RichTextBox1->textCursor()));
}

void MDIForm1::cut_Click()
{
    if (document::Form1* form = ActiveForm()) {
        copy_Click();
        form->RichTextBox1->SetSelText(QString());
    }
}

void MDIForm1::paste_Click()
{
    if (document::Form1* form = ActiveForm()) {
        document::RichTextBox& box = *form->RichTextBox1;
        const QString source = richPasteSource(clipboard().mimeData());
        if (source.isEmpty())
            return;
        QTextCursor cursor = box.textCursor();
        pasteRich(cursor, source);
        box.setTextCursor(cursor);
        box.ensureCursorVisible();
    }
}

void MDIForm1::Copy_text_Click()
{
    if (document::Form1* form = ActiveForm())
        clipboard().setText(form->RichTextBox1->SelText());
}

void MDIForm1::Cut_text_Click()
{
    if (document::Form1* form = ActiveForm()) {
        Copy_text_Click();
        form->RichTextBox1->SetSelText(QString());
    }
}

void MDIForm1::paste_text_Click()
{
    if (document::Form1* form = ActiveForm()) {
        document::RichTextBox& box = *form->RichTextBox1;
        const QString text = clipboard().text();
        if (text.isEmpty())
            return;
        QTextCursor cursor = box.textCursor();
        document::insertWithTamilCodes(cursor, text);
        box.setTextCursor(cursor);
        box.ensureCursorVisible();
    }
}

// The clipboard's text, stripped of any RTF markup in `Rich`, then typed at
// the caret through the engine while Tamil typing is on, else inserted as it
// is. Either way one undo step. The paste commands leave the selection alone
// when the clipboard holds no text.
void MDIForm1::special_Click()
{
    document::Form1* form = ActiveForm();
    const document::BusyPointer busy;
    document::FileProgress progress(this, QStringLiteral("Pasting"), false);
    rich_->SetTextRTF(clipboard().text());
    const QString text = rich_->Text();
    if (!form || text.isEmpty())
        return;
    document::RichTextBox& box = *form->RichTextBox1;
    if (item(QStringLiteral("convert"))->isChecked()) {
        document::feedAtCaret(box, engineState_, form->engineMembers(), text, progress.callback());
    } else {
        // In the font that typing the same keys gives.
        QTextCursor cursor = box.textCursor();
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        cursor.setCharFormat(box.typedFormat(cursor.charFormat()));
        document::insertWithTamilCodes(cursor, text);
        cursor.endEditBlock();
        box.setTextCursor(cursor);
    }
    box.ensureCursorVisible();
}

void MDIForm1::Delete_Click()
{
    if (document::Form1* form = ActiveForm())
        form->RichTextBox1->SetSelText(QString());
}

// A whole-word search from the caret on; a match becomes the selection.
// A selection counts as passed over, so Find again goes on to the next match.
void MDIForm1::find_Click()
{
    const QString word = find::askFindWord(this, item(QStringLiteral("convert")));
    if (word.isEmpty())
        return;
    if (document::Form1* form = ActiveForm()) {
        document::RichTextBox& box = *form->RichTextBox1;
        box.Find(word, box.SelStart() + box.SelLength(), -1, document::WholeWord);
    }
}

void MDIForm1::replace_Click()
{
    if (!form2_)
        form2_ = new find::Form2(item(QStringLiteral("convert")), [this]() -> document::RichTextBox* {
            document::Form1* form = ActiveForm();
            return form ? form->RichTextBox1 : nullptr;
        }, this);
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
}

} // namespace tk::app
