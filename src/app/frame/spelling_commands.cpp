// The spell check of the active document.
#include "mdi_form1.h"

#include "spelling/spelling_dialog.h"

namespace tk::app {

void MDIForm1::spellcheck_Click()
{
    document::Form1* form = ActiveForm();
    if (!form)
        return;
    if (!spelling_)
        spelling_ = new spelling::SpellingDialog(this);
    spelling_->start(*form->RichTextBox1, spelling_->checker());
}

} // namespace tk::app
