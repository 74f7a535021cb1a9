// Read aloud and the speech options, on the active document's speech control.
#include "mdi_form1.h"

#include "speech/direct_ss1.h"
#include "speech/form3.h"

namespace tk::app {

// A second press while the document is being read stops the reading.
void MDIForm1::text_Click()
{
    document::Form1* form = ActiveForm();
    if (!form)
        return;
    speech::DirectSS1& control = speech::DirectSS1::of(*form->RichTextBox1);
    if (control.isSpeaking())
        control.Stop();
    else
        control.SpeakSelection();
}

void MDIForm1::read_Click() { text_Click(); }

void MDIForm1::options_Click()
{
    if (!form3_) {
        form3_ = new speech::Form3(
            [this]() -> speech::DirectSS1* {
                document::Form1* form = ActiveForm();
                return form ? &speech::DirectSS1::of(*form->RichTextBox1) : nullptr;
            },
            this);
    }
    form3_->show();
    form3_->raise();
    form3_->activateWindow();
}

} // namespace tk::app
