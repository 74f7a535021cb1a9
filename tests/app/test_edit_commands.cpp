// The Edit and Format commands of the frame: the clipboard and its flavours,
// Paste special through the engine, Find typed phonetically, Replace, the
// Font and Colour dialogs, the toolbar's character buttons and the routing
// of the frame's shortcuts out of a document.
#include "frame_fixture.h"
#include "../support/test_files.h"

#include "display_fonts.h"
#include "find/form2.h"
#include "document/rtf/qt_formats.h"
#include "find/phonetic_line_edit.h"
#include "unicode/unicode_document.h"

#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>

using tk::document::Form1;
using tk::document::RichTextBox;

namespace {

QTextCharFormat formatAt(const RichTextBox& box, int pos)
{
    QTextCursor c(box.document());
    c.setPosition(pos + 1);
    return c.charFormat();
}

QString familyAt(const RichTextBox& box, int pos)
{
    return tk::rtf::familyOf(formatAt(box, pos), box.document()->defaultFont());
}

// Bold red "fz;" in Kolvani, then italic " abc" in a Latin font.
void fillFormatted(RichTextBox& box)
{
    QTextCharFormat tamil, latin;
    tamil.setFontFamilies({QStringLiteral("Kolvani")});
    tamil.setFontWeight(QFont::Bold);
    tamil.setForeground(QColor(Qt::red));
    latin.setFontFamilies({QStringLiteral("DejaVu Sans")});
    latin.setFontItalic(true);
    QTextCursor c(box.document());
    c.insertText(QStringLiteral("fz;"), tamil);
    c.insertText(QStringLiteral(" abc"), latin);
}

QClipboard& clipboard() { return *QGuiApplication::clipboard(); }

} // namespace

class TestEditCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }
    void copyThenPasteKeepsTheFormat();
    void anotherWritersRtfPastesTamilAsCodes();
    void textOnlyTakesTheFontAtTheCaret();
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

void TestEditCommands::copyThenPasteKeepsTheFormat()
{
    FrameFixture f;
    RichTextBox& box = *f.newDocument()->RichTextBox1;
    fillFormatted(box);
    select(&box, 0, 7);
    f.item("copy")->trigger();
    const QMimeData* data = clipboard().mimeData();
    QVERIFY(data->text().startsWith(QStringLiteral("{\\rtf")));
    QCOMPARE(data->data(QStringLiteral("text/rtf")), data->text().toLatin1());

    // Browsers and mail get real Tamil: the page converted back is the text.
    QVERIFY(data->html().contains(QStringLiteral("\u0b95\u0ba3\u0bcd")));
    QTextDocument page;
    page.setHtml(data->html());
    tk::unicode::convertToCodes(page);
    QCOMPARE(page.toPlainText(), QStringLiteral("fz; abc"));

    box.SetSelStart(7);
    f.item("paste1")->trigger();
    QCOMPARE(box.Text(), QStringLiteral("fz; abcfz; abc"));
    QCOMPARE(box.SelStart(), 14);
    for (const int pos : {7, 9}) {
        QCOMPARE(familyAt(box, pos), QStringLiteral("Kolvani"));
        QCOMPARE(formatAt(box, pos).fontWeight(), int(QFont::Bold));
        QCOMPARE(formatAt(box, pos).foreground().color(), QColor(Qt::red));
    }
    QCOMPARE(familyAt(box, 12), QStringLiteral("DejaVu Sans"));
    QVERIFY(formatAt(box, 12).fontItalic());
    QVERIFY(formatAt(box, 12).fontWeight() != QFont::Bold);
}

// RTF as LibreOffice writes it: Tamil as \uN in a Unicode Tamil font.
void TestEditCommands::anotherWritersRtfPastesTamilAsCodes()
{
    FrameFixture f;
    RichTextBox& box = *f.newDocument()->RichTextBox1;
    auto* data = new QMimeData;
    data->setText(QStringLiteral("Hello \u0ba4\u0bae\u0bbf\u0bb4\u0bcd world"));
    data->setData(QStringLiteral("text/rtf"),
                  "{\\rtf1\\ansi\\ansicpg1252\\uc1{\\fonttbl{\\f0\\fswiss Liberation Sans;}{\\f1\\fnil Noto Sans Tamil;}}"
                  "\\f0 Hello {\\f1\\b\\u2980\\'3f\\u2990\\'3f\\u3007\\'3f\\u2996\\'3f\\u3021\\'3f} world}");
    clipboard().setMimeData(data);
    f.item("paste")->trigger();
    QCOMPARE(box.Text(), QStringLiteral("Hello jkpo; world"));
    QCOMPARE(familyAt(box, 0), QStringLiteral("Liberation Sans"));
    QCOMPARE(familyAt(box, 7), QStringLiteral("Kolvani"));
    QCOMPARE(formatAt(box, 7).fontWeight(), int(QFont::Bold));
    // Plain text with Unicode Tamil: the Tamil as codes, the rest as it is.
    box.clear();
    QTextCharFormat latin;
    latin.setFontFamilies({QStringLiteral("DejaVu Sans")});
    box.setCurrentCharFormat(latin);
    f.item("paste_text")->trigger();
    QCOMPARE(box.Text(), QStringLiteral("Hello jkpo; world"));
    QCOMPARE(familyAt(box, 0), QStringLiteral("DejaVu Sans"));
    QCOMPARE(familyAt(box, 7), QStringLiteral("Kolvani"));
    box.undo();
    QCOMPARE(box.Text(), QString());
}

void TestEditCommands::textOnlyTakesTheFontAtTheCaret()
{
    FrameFixture f;
    RichTextBox& box = *f.newDocument()->RichTextBox1;
    fillFormatted(box);
    select(&box, 0, 3);
    f.item("Copy_text")->trigger();
    QCOMPARE(clipboard().text(), QStringLiteral("fz;"));
    QVERIFY(!clipboard().mimeData()->hasFormat(QStringLiteral("text/rtf")));
    box.SetSelStart(7);
    f.item("paste_text")->trigger();
    QCOMPARE(box.Text(), QStringLiteral("fz; abcfz;"));
    QCOMPARE(familyAt(box, 8), QStringLiteral("DejaVu Sans"));
    QVERIFY(formatAt(box, 8).fontItalic());
    QVERIFY(formatAt(box, 8).fontWeight() != QFont::Bold);
}

void TestEditCommands::cutAndDelete()
{
    FrameFixture f;
    RichTextBox& box = *f.newDocument()->RichTextBox1;
    box.SetText(QStringLiteral("fz; jkpo; mk;k"));
    select(&box, 0, 4);
    f.item("cut")->trigger();
    QCOMPARE(box.Text(), QStringLiteral("jkpo; mk;k"));
    QVERIFY(clipboard().text().startsWith(QStringLiteral("{\\rtf")));
    select(&box, 0, 6);
    f.item("Cut_text")->trigger();
    QCOMPARE(box.Text(), QStringLiteral("mk;k"));
    QCOMPARE(clipboard().text(), QStringLiteral("jkpo; "));
    select(&box, 0, 2);
    f.item("Delete")->trigger();
    QCOMPARE(box.Text(), QStringLiteral(";k"));
    QCOMPARE(clipboard().text(), QStringLiteral("jkpo; "));
}

void TestEditCommands::nothingToActOn()
{
    const char* const commands[] = {"cut", "copy", "paste", "Cut_text", "Copy_text", "paste_text", "special",
                                    "Delete", "cut1", "copy1", "paste1"};
    FrameFixture f;
    // No document: the clipboard stays as it was and nothing fails.
    clipboard().setText(QStringLiteral("amma"));
    for (const char* name : commands)
        f.item(name)->trigger();
    QCOMPARE(clipboard().text(), QStringLiteral("amma"));
    // An empty clipboard pastes nothing over the selection.
    RichTextBox& box = *f.newDocument()->RichTextBox1;
    box.SetText(QStringLiteral("fz;"));
    clipboard().clear();
    for (const char* name : {"paste", "paste_text", "special"}) {
        select(&box, 0, 3);
        f.item(name)->trigger();
        QCOMPARE(box.Text(), QStringLiteral("fz;"));
    }
    QVERIFY(f.dialogs.take().isEmpty());
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
    FrameFixture f;
    f.item("convert")->setChecked(tamil);
    RichTextBox& typed = *f.newDocument()->RichTextBox1;
    QTest::keyClicks(&typed, typedBefore + keys);
    const tk::engine::EngineState afterTyping = f.frame->engineState();

    RichTextBox& pasted = *f.newDocument()->RichTextBox1;
    QTest::keyClicks(&pasted, typedBefore);
    const QString before = pasted.Text();
    ::clipboard().setText(clipboard);
    QTest::keyClick(&pasted, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(pasted.Text(), typed.Text());
    QCOMPARE(pasted.SelStart(), int(typed.Text().size()));
    QCOMPARE(f.frame->engineState().lastKey, afterTyping.lastKey);
    QCOMPARE(f.frame->engineState().dotPending, false);
    QTest::keyClick(&pasted, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(pasted.Text(), before);
}

// The frame's shortcuts reach it out of a document.
void TestEditCommands::shortcutsRunTheFrameCommands()
{
    FrameFixture f;
    RichTextBox& box = *f.newDocument()->RichTextBox1;
    const std::pair<Qt::Key, const char*> shortcuts[] = {{Qt::Key_C, "copy"},      {Qt::Key_V, "paste"},
                                                         {Qt::Key_X, "cut"},       {Qt::Key_D, "Copy_text"},
                                                         {Qt::Key_F, "paste_text"}, {Qt::Key_G, "special"}};
    for (const auto& [key, item] : shortcuts) {
        box.SetText(QStringLiteral("fz;"));
        select(&box, 0, 3);
        clipboard().setText(QStringLiteral("amma"));
        QSignalSpy ran(f.item(item), &QAction::triggered);
        QTest::keyClick(&box, key, Qt::ControlModifier);
        QVERIFY2(ran.count() == 1, item);
    }
}

void TestEditCommands::findTypedPhonetically()
{
    FrameFixture f;
    RichTextBox& box = *f.newDocument()->RichTextBox1;
    QTest::keyClicks(&box, QStringLiteral("k"));
    box.SetText(QStringLiteral("fly; jkpo;f jkpo; mk;k jkpo;"));
    box.SetSelStart(0);
    // "thamiz" is found as a whole word, not inside the longer word before it;
    // the box keeps its own key memory.
    f.dialogs.typed.push_back(QStringLiteral("thamiz"));
    f.item("find")->trigger();
    QCOMPARE(f.dialogs.take(), QStringList{"input:Tamil Kalvem:Enter the word to search"});
    QCOMPARE(box.SelStart(), 12);
    QCOMPARE(box.SelText(), QStringLiteral("jkpo;"));
    QCOMPARE(f.frame->engineState().lastKey, 'k');
    // Find again goes on to the next match.
    f.dialogs.inputs.push_back(QStringLiteral("jkpo;"));
    f.item("find1")->trigger();
    QCOMPARE(box.SelStart(), 23);
    // A word that is not there, and a cancelled box, leave the selection.
    f.dialogs.typed.push_back(QStringLiteral("kadalai"));
    f.dialogs.inputs.push_back(QString());
    for (int i = 0; i < 2; ++i) {
        f.frame->Toolbar1_ButtonClick(QStringLiteral("Find"));
        QCOMPARE(box.SelStart(), 23);
        QCOMPARE(box.SelLength(), 5);
    }
}

void TestEditCommands::replaceShowsOneDialog()
{
    FrameFixture f;
    RichTextBox& first = *f.newDocument()->RichTextBox1;
    first.SetText(QStringLiteral("fz fz;"));
    f.item("replace")->trigger();
    QPointer<tk::find::Form2> form = f.frame->form2();
    QVERIFY(form && form->isVisible());
    QTest::keyClicks(form->Text1, QStringLiteral("kaN"));
    QTest::keyClicks(form->Text2, QStringLiteral("thamiz"));
    QCOMPARE(form->Text1->text(), QStringLiteral("fz;"));
    f.item("replace1")->trigger();
    QCOMPARE(f.frame->form2(), form.data());
    QCOMPARE(form->Text1->text(), QStringLiteral("fz;"));
    // Search acts on the document active at that moment.
    RichTextBox& second = *f.newDocument()->RichTextBox1;
    second.SetText(QStringLiteral("fz; fz;f"));
    form->Command1->click();
    QCOMPARE(second.Text(), QStringLiteral("jkpo; fz;f"));
    QCOMPARE(first.Text(), QStringLiteral("fz fz;"));
    QCOMPARE(f.dialogs.take(), QStringList{"message:Tamil Kalvm:The replacement have been made  1 times"});
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

void TestEditCommands::fontDialog()
{
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, convertBefore);
    QFETCH(bool, convertAfter);
    FrameFixture f;
    RichTextBox& box = *f.newDocument()->RichTextBox1;
    box.SetText(QStringLiteral("fz; abc"));
    select(&box, 0, 7);
    f.item("convert")->setChecked(convertBefore);
    if (family.isEmpty()) {
        f.dialogs.fonts.push_back(std::nullopt);
    } else {
        QFont font(family, 20);
        font.setBold(bold);
        font.setItalic(italic);
        font.setUnderline(true);
        f.dialogs.fonts.push_back(font);
    }
    f.item("font")->trigger();
    QCOMPARE(f.dialogs.take(), QStringList{"font"});
    QCOMPARE(f.item("convert")->isChecked(), convertAfter);
    for (const int pos : {0, 6}) {
        const QTextCharFormat format = formatAt(box, pos);
        QCOMPARE(familyAt(box, pos), family.isEmpty() ? QStringLiteral("Kolvani") : family);
        QCOMPARE(format.fontWeight() == QFont::Bold, bold);
        QCOMPARE(format.fontItalic(), italic);
        QVERIFY(!format.fontUnderline());
        QCOMPARE(box.document()->defaultFont().pointSizeF() != format.fontPointSize(), !family.isEmpty());
    }
}

void TestEditCommands::colourDialog()
{
    FrameFixture f;
    RichTextBox& box = *f.newDocument()->RichTextBox1;
    box.SetText(QStringLiteral("fz; abc"));
    select(&box, 0, 3);
    f.dialogs.colors = {QColor(Qt::blue), std::nullopt};
    f.item("colour")->trigger();
    QCOMPARE(formatAt(box, 1).foreground().color(), QColor(Qt::blue));
    select(&box, 4, 7);
    f.item("colour")->trigger();
    QVERIFY(!formatAt(box, 5).hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(f.dialogs.take(), (QStringList{"color", "color"}));
}

void TestEditCommands::toolbarToggles_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("Bold") << "Bold";
    QTest::newRow("Italic") << "Italic";
    QTest::newRow("Underline") << "Underline";
}

void TestEditCommands::toolbarToggles()
{
    QFETCH(QString, key);
    FrameFixture f;
    RichTextBox& box = *f.newDocument()->RichTextBox1;
    box.SetText(QStringLiteral("fz; jkpo;"));
    const auto state = [&] {
        return key == QLatin1String("Bold") ? box.SelBold() : key == QLatin1String("Italic") ? box.SelItalic() : box.SelUnderline();
    };
    // Partly set: the first click sets all of it, the second none.
    select(&box, 0, 3);
    f.frame->Toolbar1_ButtonClick(key);
    select(&box, 0, 9);
    QCOMPARE(state(), std::nullopt);
    f.frame->Toolbar1_ButtonClick(key);
    QCOMPARE(state(), std::optional(true));
    f.frame->Toolbar1_ButtonClick(key);
    QCOMPARE(state(), std::optional(false));
    const std::pair<const char*, Qt::Alignment> alignments[] = {
        {"Align Right", Qt::AlignRight}, {"Center", Qt::AlignHCenter}, {"Align Left", Qt::AlignLeft}};
    for (const auto& [button, alignment] : alignments) {
        f.frame->Toolbar1_ButtonClick(QString::fromLatin1(button));
        QCOMPARE(box.textCursor().blockFormat().alignment() & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter), alignment);
    }
}

QTEST_MAIN(TestEditCommands)
#include "test_edit_commands.moc"
