// The Edit and Format commands of the frame: the clipboard and its flavours,
// Paste special through the engine, Find typed phonetically, Replace, the
// Font and Colour dialogs, the toolbar's character buttons and the routing
// of the frame's shortcuts out of a document.
#include "frame_fixture.h"
#include "../support/test_files.h"

#include "display_fonts.h"
#include "document/rtf/qt_formats.h"
#include "find/form2.h"
#include "find/phonetic_line_edit.h"

#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>

using tk::document::RichTextBox;

namespace {

QClipboard& clipboard() { return *QGuiApplication::clipboard(); }

} // namespace

// Each test starts with a frame and one empty document.
class TestEditCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<FrameFixture> f_;
    RichTextBox* box_ = nullptr;

    QAction* item(const char* name) const { return f_->item(name); }
    QTextCharFormat formatAt(int pos) const
    {
        QTextCursor c(box_->document());
        c.setPosition(pos + 1);
        return c.charFormat();
    }
    QString familyAt(int pos) const { return tk::rtf::familyOf(formatAt(pos), box_->document()->defaultFont()); }
    // Bold red "fz;" in Kolvani, then italic " abc" in a Latin font.
    void fillFormatted() const
    {
        QTextCharFormat tamil, latin;
        tamil.setFontFamilies({"Kolvani"});
        tamil.setFontWeight(QFont::Bold);
        tamil.setForeground(QColor(Qt::red));
        latin.setFontFamilies({"DejaVu Sans"});
        latin.setFontItalic(true);
        QTextCursor c(box_->document());
        c.insertText("fz;", tamil);
        c.insertText(" abc", latin);
    }

private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }
    void init()
    {
        f_ = std::make_unique<FrameFixture>();
        box_ = f_->newDocument()->RichTextBox1;
    }
    void cleanup() { f_.reset(); }
    void copyAndPasteWithAndWithoutTheFormat();
    void anotherWritersRtfPastesTamilAsCodes();
    void cutAndDelete();
    void nothingToActOn();
    void pasteSpecialTypesTheText_data();
    void pasteSpecialTypesTheText();
    void shortcutsRunTheFrameCommands();
    void findTypedPhonetically();
    void replaceShowsOneDialog();
    void fontDialog_data();
    void fontDialog();
    void colourDialog();
    void toolbarToggles_data();
    void toolbarToggles();
};

// Browsers and mail get real Tamil in the HTML flavour.
void TestEditCommands::copyAndPasteWithAndWithoutTheFormat()
{
    fillFormatted();
    select(box_, 0, 7);
    item("copy")->trigger();
    const QMimeData* data = clipboard().mimeData();
    QVERIFY(data->text().startsWith("{\\rtf"));
    QCOMPARE(data->data("text/rtf"), data->text().toLatin1());
    QVERIFY(data->html().contains(QStringLiteral("\u0b95\u0ba3\u0bcd")));
    box_->SetSelStart(7);
    item("paste1")->trigger();
    QCOMPARE(box_->Text(), QStringLiteral("fz; abcfz; abc"));
    QCOMPARE(box_->SelStart(), 14);
    QCOMPARE(familyAt(9), QStringLiteral("Kolvani"));
    QCOMPARE(formatAt(9).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(9).foreground().color(), QColor(Qt::red));
    QCOMPARE(familyAt(12), QStringLiteral("DejaVu Sans"));
    QVERIFY(formatAt(12).fontItalic() && formatAt(12).fontWeight() != QFont::Bold);
    // Text only: no RTF, and pasted in the font at the caret.
    select(box_, 0, 3);
    item("Copy_text")->trigger();
    QCOMPARE(clipboard().text(), QStringLiteral("fz;"));
    QVERIFY(!clipboard().mimeData()->hasFormat("text/rtf"));
    box_->SetSelStart(7);
    item("paste_text")->trigger();
    QCOMPARE(box_->Text(), QStringLiteral("fz; abcfz;fz; abc"));
    QCOMPARE(familyAt(8), QStringLiteral("DejaVu Sans"));
    QVERIFY(formatAt(8).fontItalic() && formatAt(8).fontWeight() != QFont::Bold);
}

// RTF as LibreOffice writes it: Tamil as \uN in a Unicode Tamil font; and
// plain text with Unicode Tamil: the Tamil as codes, the rest as it is.
void TestEditCommands::anotherWritersRtfPastesTamilAsCodes()
{
    auto* data = new QMimeData;
    data->setText(QStringLiteral("Hello \u0ba4\u0bae\u0bbf\u0bb4\u0bcd world"));
    data->setData("text/rtf",
                  "{\\rtf1\\ansi\\ansicpg1252\\uc1{\\fonttbl{\\f0\\fswiss Liberation Sans;}{\\f1\\fnil Noto Sans Tamil;}}"
                  "\\f0 Hello {\\f1\\b\\u2980\\'3f\\u2990\\'3f\\u3007\\'3f\\u2996\\'3f\\u3021\\'3f} world}");
    clipboard().setMimeData(data);
    item("paste")->trigger();
    QCOMPARE(box_->Text(), QStringLiteral("Hello jkpo; world"));
    QCOMPARE(familyAt(0), QStringLiteral("Liberation Sans"));
    QCOMPARE(familyAt(7), QStringLiteral("Kolvani"));
    QCOMPARE(formatAt(7).fontWeight(), int(QFont::Bold));
    box_->clear();
    QTextCharFormat latin;
    latin.setFontFamilies({"DejaVu Sans"});
    box_->setCurrentCharFormat(latin);
    item("paste_text")->trigger();
    QCOMPARE(box_->Text(), QStringLiteral("Hello jkpo; world"));
    QCOMPARE(familyAt(0), QStringLiteral("DejaVu Sans"));
    QCOMPARE(familyAt(7), QStringLiteral("Kolvani"));
    box_->undo();
    QCOMPARE(box_->Text(), QString());
}

void TestEditCommands::cutAndDelete()
{
    box_->SetText("fz; jkpo; mk;k");
    select(box_, 0, 4);
    item("cut")->trigger();
    QCOMPARE(box_->Text(), QStringLiteral("jkpo; mk;k"));
    QVERIFY(clipboard().text().startsWith("{\\rtf"));
    select(box_, 0, 6);
    item("Cut_text")->trigger();
    QCOMPARE(box_->Text(), QStringLiteral("mk;k"));
    QCOMPARE(clipboard().text(), QStringLiteral("jkpo; "));
    select(box_, 0, 2);
    item("Delete")->trigger();
    QCOMPARE(box_->Text(), QStringLiteral(";k"));
    QCOMPARE(clipboard().text(), QStringLiteral("jkpo; "));
}

// An empty clipboard pastes nothing over the selection; with no document
// the clipboard stays as it was and nothing fails.
void TestEditCommands::nothingToActOn()
{
    box_->SetText("fz;");
    clipboard().clear();
    for (const char* name : {"paste", "paste_text", "special"}) {
        select(box_, 0, 3);
        item(name)->trigger();
        QCOMPARE(box_->Text(), QStringLiteral("fz;"));
    }
    f_->frame->ActiveForm()->closeWithoutQuestion();
    f_->settle();
    clipboard().setText("amma");
    for (const char* name : {"cut", "copy", "paste", "Cut_text", "Copy_text", "paste_text", "special", "Delete", "cut1",
                             "copy1", "paste1"})
        item(name)->trigger();
    QCOMPARE(clipboard().text(), QStringLiteral("amma"));
    QVERIFY(f_->dialogs.take().isEmpty());
}

void TestEditCommands::pasteSpecialTypesTheText_data()
{
    QTest::addColumn<bool>("tamil"); // Tamil typing on
    QTest::addColumn<QString>("typedBefore");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("keys"); // typing these gives the same document
    QTest::newRow("a word") << true << "" << "amma" << "amma";
    QTest::newRow("a vowel after a typed consonant") << true << "k" << "a" << "a";
    QTest::newRow("a word going on") << true << "am" << "ma vanakkam" << "ma vanakkam";
    QTest::newRow("line breaks end words") << true << "ka " << "thamiz\nammaa\nkadal" << "thamiz\rammaa\rkadal";
    QTest::newRow("RTF is stripped first") << true << "" << "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b amma \\i kadal}"
                                           << "amma kadal";
    QTest::newRow("Unicode Tamil goes in as codes") << true << "" << "\u0ba4\u0bae\u0bbf\u0bb4\u0bcd amma"
                                                    << "thamiz amma";
    QTest::newRow("no Tamil typing: the text as it is") << false << "" << "{\\rtf1\\ansi amma}" << "amma";
}

// Pasting the text is typing it: the same document, the same key memory
// afterwards, and one step to undo.
void TestEditCommands::pasteSpecialTypesTheText()
{
    QFETCH(bool, tamil);
    QFETCH(QString, typedBefore);
    QFETCH(QString, clipboard);
    QFETCH(QString, keys);
    item("convert")->setChecked(tamil);
    QTest::keyClicks(box_, typedBefore + keys);
    const QString typed = box_->Text();
    const tk::engine::EngineState afterTyping = f_->frame->engineState();

    RichTextBox& pasted = *f_->newDocument()->RichTextBox1;
    QTest::keyClicks(&pasted, typedBefore);
    const QString before = pasted.Text();
    ::clipboard().setText(clipboard);
    QTest::keyClick(&pasted, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(pasted.Text(), typed);
    QCOMPARE(pasted.SelStart(), int(typed.size()));
    QCOMPARE(f_->frame->engineState().lastKey, afterTyping.lastKey);
    QCOMPARE(f_->frame->engineState().dotPending, false);
    QTest::keyClick(&pasted, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(pasted.Text(), before);
}

// The frame's shortcuts reach it out of a document.
void TestEditCommands::shortcutsRunTheFrameCommands()
{
    const std::pair<Qt::Key, const char*> shortcuts[] = {{Qt::Key_C, "copy"},      {Qt::Key_V, "paste"},
                                                         {Qt::Key_X, "cut"},       {Qt::Key_D, "Copy_text"},
                                                         {Qt::Key_F, "paste_text"}, {Qt::Key_G, "special"}};
    for (const auto& [key, name] : shortcuts) {
        box_->SetText("fz;");
        select(box_, 0, 3);
        clipboard().setText("amma");
        QSignalSpy ran(item(name), &QAction::triggered);
        QTest::keyClick(box_, key, Qt::ControlModifier);
        QVERIFY2(ran.count() == 1, name);
    }
}

// "thamiz" is found as a whole word, not inside the longer word before it;
// the box keeps its own key memory; Find again goes on to the next match; a
// word that is not there, and a cancelled box, leave the selection.
void TestEditCommands::findTypedPhonetically()
{
    QTest::keyClicks(box_, "k");
    box_->SetText("fly; jkpo;f jkpo; mk;k jkpo;");
    box_->SetSelStart(0);
    f_->dialogs.typed = {"thamiz"};
    item("find")->trigger();
    QCOMPARE(f_->dialogs.take(), QStringList{"input:Tamil Kalvem:Enter the word to search"});
    QCOMPARE(box_->SelStart(), 12);
    QCOMPARE(box_->SelText(), QStringLiteral("jkpo;"));
    QCOMPARE(f_->frame->engineState().lastKey, 'k');
    f_->dialogs.inputs = {"jkpo;", QString()};
    item("find1")->trigger();
    QCOMPARE(box_->SelStart(), 23);
    f_->dialogs.typed = {"kadalai"};
    for (int i = 0; i < 2; ++i) {
        f_->frame->Toolbar1_ButtonClick("Find");
        QCOMPARE(box_->SelStart(), 23);
        QCOMPARE(box_->SelLength(), 5);
    }
}

// One dialog however often asked for; Search acts on the document active
// at that moment.
void TestEditCommands::replaceShowsOneDialog()
{
    box_->SetText("fz fz;");
    item("replace")->trigger();
    QPointer<tk::find::Form2> form = f_->frame->form2();
    QVERIFY(form && form->isVisible());
    form->Text1->setText("fz;");
    form->Text2->setText("jkpo;");
    item("replace1")->trigger();
    QCOMPARE(f_->frame->form2(), form.data());
    QCOMPARE(form->Text1->text(), QStringLiteral("fz;"));
    RichTextBox& second = *f_->newDocument()->RichTextBox1;
    second.SetText("fz; fz;f");
    form->Command1->click();
    QCOMPARE(second.Text(), QStringLiteral("jkpo; fz;f"));
    QCOMPARE(box_->Text(), QStringLiteral("fz fz;"));
}

void TestEditCommands::fontDialog_data()
{
    QTest::addColumn<QString>("family"); // "" cancels
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("convertBefore");
    QTest::addColumn<bool>("convertAfter");
    QTest::newRow("Kolvani switches Tamil typing on") << "Kolvani" << false << false << false << true;
    QTest::newRow("Nelpari, bold and italic") << "Nelpari" << true << true << false << true;
    QTest::newRow("a Latin font switches it off") << "DejaVu Sans" << true << false << true << false;
    QTest::newRow("cancelled: nothing changes") << "" << false << false << false << false;
    QTest::newRow("cancelled with Tamil typing on") << "" << false << false << true << true;
}

// The dialog's underline is not taken.
void TestEditCommands::fontDialog()
{
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, convertBefore);
    QFETCH(bool, convertAfter);
    box_->SetText("fz; abc");
    select(box_, 0, 7);
    item("convert")->setChecked(convertBefore);
    QFont font(family, 20);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(true);
    f_->dialogs.fonts.push_back(family.isEmpty() ? std::nullopt : std::optional(font));
    item("font")->trigger();
    QCOMPARE(f_->dialogs.take(), QStringList{"font"});
    QCOMPARE(item("convert")->isChecked(), convertAfter);
    for (const int pos : {0, 6}) {
        const QTextCharFormat format = formatAt(pos);
        QCOMPARE(familyAt(pos), family.isEmpty() ? QStringLiteral("Kolvani") : family);
        QCOMPARE(format.fontWeight() == QFont::Bold, bold);
        QCOMPARE(format.fontItalic(), italic);
        QVERIFY(!format.fontUnderline());
        QCOMPARE(box_->document()->defaultFont().pointSizeF() != format.fontPointSize(), !family.isEmpty());
    }
}

// A cancelled dialog leaves the colour as it was.
void TestEditCommands::colourDialog()
{
    box_->SetText("fz; abc");
    select(box_, 0, 3);
    f_->dialogs.colors = {QColor(Qt::blue), std::nullopt};
    item("colour")->trigger();
    QCOMPARE(formatAt(1).foreground().color(), QColor(Qt::blue));
    select(box_, 4, 7);
    item("colour")->trigger();
    QVERIFY(!formatAt(5).hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(f_->dialogs.take(), (QStringList{"color", "color"}));
}

void TestEditCommands::toolbarToggles_data()
{
    QTest::addColumn<QString>("key");
    for (const char* key : {"Bold", "Italic", "Underline"})
        QTest::newRow(key) << key;
}

// Partly set: the first click sets all of it, the second none. Then the
// alignment buttons.
void TestEditCommands::toolbarToggles()
{
    QFETCH(QString, key);
    box_->SetText("fz; jkpo;");
    const auto state = [&] {
        return key == "Bold" ? box_->SelBold() : key == "Italic" ? box_->SelItalic() : box_->SelUnderline();
    };
    select(box_, 0, 3);
    f_->frame->Toolbar1_ButtonClick(key);
    select(box_, 0, 9);
    for (std::optional<bool> expected : {std::optional<bool>(), std::optional(true), std::optional(false)}) {
        QCOMPARE(state(), expected);
        f_->frame->Toolbar1_ButtonClick(key);
    }
    const std::pair<const char*, Qt::Alignment> alignments[] = {
        {"Align Right", Qt::AlignRight}, {"Center", Qt::AlignHCenter}, {"Align Left", Qt::AlignLeft}};
    for (const auto& [button, alignment] : alignments) {
        f_->frame->Toolbar1_ButtonClick(button);
        QCOMPARE(box_->textCursor().blockFormat().alignment() & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter),
                 alignment);
    }
}

QTEST_MAIN(TestEditCommands)
#include "test_edit_commands.moc"
