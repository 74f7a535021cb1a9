// The Format menu's Font and Colour. A cancelled dialog changes nothing.
#include "mdi_form1.h"

#include "display_fonts.h"

#include <QAction>

namespace tk::app {

// The font chosen also sets Tamil typing: on for the nine display fonts
// (by exact name), off for any other.
void MDIForm1::font_Click()
{
    if (!cd1_.ShowFont(this))
        return;
    document::Form1* form = ActiveForm();
    if (!form)
        return;
    document::RichTextBox& box = *form->RichTextBox1;
    box.SetSelFontName(cd1_.FontName);
    box.SetSelFontSize(cd1_.FontSize);
    box.SetSelBold(cd1_.FontBold);
    box.SetSelItalic(cd1_.FontItalic);
    item(QStringLiteral("convert"))->setChecked(fonts::isTamilDisplayFont(box.SelFontName()));
}

void MDIForm1::colour_Click()
{
    if (!cd1_.ShowColor(this))
        return;
    if (document::Form1* form = ActiveForm())
        form->RichTextBox1->SetSelColor(cd1_.Color);
}

} // namespace tk::app
