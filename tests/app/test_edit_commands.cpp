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
    // The character at pos as "family bold italic underline #colour", only
    // what it has.
    QString look(int pos) const
    {
        QTextCursor c(box_->document());
        c.setPosition(pos + 1);
        const QTextCharFormat f = c.charFormat();
        QStringList s{tk::rtf::familyOf(f, box_->document()->defaultFont())};
        if (f.fontWeight() == QFont::Bold)
            s << "bold";
        if (f.fontItalic())
            s << "italic";
        if (f.fontUnderline())
            s << "underline";
        if (f.hasProperty(QTextFormat::ForegroundBrush))
            s << f.foreground().color().name();
        return s.join(u' ');
    }
    void selectAndTrigger(int from, int to, const char* name) const
    {
        select(box_, from, to);
        item(name)->trigger();
    }

private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }
    void init()
    {
        f_ = std::make_unique<FrameFixture>();
        box_ = f_->newDocument()->RichTextBox1;
    }
    void cleanup() { f_.reset(); }
    // Browsers and mail get real Tamil in the HTML flavour. Text only: no RTF,
    // and pasted in the font at the caret.
    void copyAndPasteWithAndWithoutTheFormat()
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
        selectAndTrigger(0, 7, "copy");
        const QMimeData* data = clipboard().mimeData();
        QVERIFY(data->text().startsWith("{\\rtf"));
        QCOMPARE(data->data("text/rtf"), data->text().toLatin1());
        QVERIFY(data->html().contains(QStringLiteral("\u0b95\u0ba3\u0bcd")));
        box_->SetSelStart(7);
        item("paste1")->trigger();
        QCOMPARE(box_->Text(), QStringLiteral("fz; abcfz; abc"));
        QCOMPARE(box_->SelStart(), 14);
        QCOMPARE(look(9) + '|' + look(12), QStringLiteral("Kolvani bold #ff0000|DejaVu Sans italic"));
        selectAndTrigger(0, 3, "Copy_text");
        QCOMPARE(clipboard().text(), QStringLiteral("fz;"));
        QVERIFY(!clipboard().mimeData()->hasFormat("text/rtf"));
        box_->SetSelStart(7);
        item("paste_text")->trigger();
        QCOMPARE(box_->Text(), QStringLiteral("fz; abcfz;fz; abc"));
        QCOMPARE(look(8), QStringLiteral("DejaVu Sans italic"));
    }
    // RTF as LibreOffice writes it: Tamil as \uN in a Unicode Tamil font; and
    // plain text with Unicode Tamil: the Tamil as codes, the rest as it is.
    void anotherWritersRtfPastesTamilAsCodes()
    {
        auto* data = new QMimeData;
        data->setText(QStringLiteral("Hello \u0ba4\u0bae\u0bbf\u0bb4\u0bcd world"));
        data->setData("text/rtf",
                      "{\\rtf1\\ansi\\ansicpg1252\\uc1{\\fonttbl{\\f0\\fswiss Liberation Sans;}"
                      "{\\f1\\fnil Noto Sans Tamil;}}\\f0 Hello "
                      "{\\f1\\b\\u2980\\'3f\\u2990\\'3f\\u3007\\'3f\\u2996\\'3f\\u3021\\'3f} world}");
        clipboard().setMimeData(data);
        item("paste")->trigger();
        QCOMPARE(box_->Text() + '|' + look(0) + '|' + look(7),
                 QStringLiteral("Hello jkpo; world|Liberation Sans|Kolvani bold"));
        box_->clear();
        QTextCharFormat latin;
        latin.setFontFamilies({"DejaVu Sans"});
        box_->setCurrentCharFormat(latin);
        item("paste_text")->trigger();
        QCOMPARE(box_->Text() + '|' + look(0) + '|' + look(7), QStringLiteral("Hello jkpo; world|DejaVu Sans|Kolvani"));
        box_->undo();
        QCOMPARE(box_->Text(), QString());
    }
    // Cut puts RTF on the clipboard, Cut text only the text; Delete leaves it.
    void cutAndDelete()
    {
        box_->SetText("fz; jkpo; mk;k");
        selectAndTrigger(0, 4, "cut");
        QVERIFY(clipboard().text().startsWith("{\\rtf"));
        selectAndTrigger(0, 6, "Cut_text");
        QCOMPARE(clipboard().text(), QStringLiteral("jkpo; "));
        selectAndTrigger(0, 2, "Delete");
        QCOMPARE(box_->Text() + '|' + clipboard().text(), QStringLiteral(";k|jkpo; "));
    }
    // An empty clipboard pastes nothing over the selection; with no document
    // the clipboard stays as it was and nothing fails.
    void nothingToActOn()
    {
        box_->SetText("fz;");
        clipboard().clear();
        for (const char* name : {"paste", "paste_text", "special"}) {
            selectAndTrigger(0, 3, name);
            QCOMPARE(box_->Text(), QStringLiteral("fz;"));
        }
        f_->frame->ActiveForm()->closeWithoutQuestion();
        f_->settle();
        clipboard().setText("amma");
        for (const char* name : {"cut", "copy", "paste", "Cut_text", "Copy_text", "paste_text", "special", "Delete",
                                 "cut1", "copy1", "paste1"})
            item(name)->trigger();
        QCOMPARE(clipboard().text(), QStringLiteral("amma"));
        QVERIFY(f_->dialogs.take().isEmpty());
    }
    void pasteSpecialTypesTheText_data()
    {
        QTest::addColumn<bool>("tamil"); // Tamil typing on
        QTest::addColumn<QString>("typedBefore");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("keys"); // typing these gives the same document
        QTest::newRow("a word") << true << "" << "amma" << "amma";
        QTest::newRow("a vowel after a typed consonant") << true << "k" << "a" << "a";
        QTest::newRow("a word going on") << true << "am" << "ma vanakkam" << "ma vanakkam";
        QTest::newRow("line breaks end words") << true << "ka " << "thamiz\nammaa\nkadal" << "thamiz\rammaa\rkadal";
        QTest::newRow("RTF is stripped first")
            << true << "" << "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b amma \\i kadal}" << "amma kadal";
        QTest::newRow("Unicode Tamil goes in as codes") << true << "" << "\u0ba4\u0bae\u0bbf\u0bb4\u0bcd amma"
                                                        << "thamiz amma";
        QTest::newRow("no Tamil typing: the text as it is") << false << "" << "{\\rtf1\\ansi amma}" << "amma";
    }
    // Pasting the text is typing it: the same document, the same key memory
    // afterwards, and one step to undo.
    void pasteSpecialTypesTheText()
    {
        QFETCH(bool, tamil);
        QFETCH(QString, typedBefore);
        QFETCH(QString, clipboard);
        QFETCH(QString, keys);
        item("convert")->setChecked(tamil);
        QTest::keyClicks(box_, typedBefore + keys);
        const QString typed = box_->Text();
        const char lastKey = f_->frame->engineState().lastKey;
        RichTextBox& pasted = *f_->newDocument()->RichTextBox1;
        QTest::keyClicks(&pasted, typedBefore);
        const QString before = pasted.Text();
        ::clipboard().setText(clipboard);
        QTest::keyClick(&pasted, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(pasted.Text(), typed);
        QCOMPARE(pasted.SelStart(), int(typed.size()));
        QCOMPARE(f_->frame->engineState().lastKey, lastKey);
        QVERIFY(!f_->frame->engineState().dotPending);
        QTest::keyClick(&pasted, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pasted.Text(), before);
    }
    // Pasting is typing for the font too: after Latin text Tamil typing writes
    // its codes in a Tamil font, and after Tamil text Latin typing writes Latin.
    void pasteSpecialTakesTheTypingFont()
    {
        for (const bool tamil : {true, false}) {
            item("convert")->setChecked(tamil);
            QStringList families; // typed, then pasted
            for (const bool paste : {false, true}) {
                RichTextBox& box = *f_->newDocument()->RichTextBox1;
                QVERIFY(box.SetTextRTF(tamil ? "{\\rtf1{\\fonttbl{\\f0 DejaVu Sans;}}\\f0 Hello }"
                                             : "{\\rtf1{\\fonttbl{\\f0 Kolvani;}}\\f0 jkpo; }"));
                box.moveCursor(QTextCursor::End);
                ::clipboard().setText("amma");
                paste ? QTest::keyClick(&box, Qt::Key_G, Qt::ControlModifier) : QTest::keyClicks(&box, "amma");
                QTextCursor c(box.document());
                c.movePosition(QTextCursor::End);
                families << box.Text() + ' ' + tk::rtf::familyOf(c.charFormat(), box.document()->defaultFont());
            }
            QCOMPARE(families[1], families[0]);
            QVERIFY2(families[0].endsWith(tamil ? "Kolvani" : "Noto Sans"), qPrintable(families[0]));
        }
    }

    // The frame's shortcuts reach it out of a document (Ctrl+G: Paste special above).
    void shortcutsRunTheFrameCommands()
    {
        const std::pair<Qt::Key, const char*> shortcuts[] = {
            {Qt::Key_C, "copy"}, {Qt::Key_V, "paste"}, {Qt::Key_X, "cut"}, {Qt::Key_D, "Copy_text"},
            {Qt::Key_F, "paste_text"}};
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
    void findTypedPhonetically()
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
            QCOMPARE(QPoint(box_->SelStart(), box_->SelLength()), QPoint(23, 5));
        }
    }
    // One dialog however often asked for; Search acts on the document active
    // at that moment.
    void replaceShowsOneDialog()
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
        QCOMPARE(second.Text() + '|' + box_->Text(), QStringLiteral("jkpo; fz;f|fz fz;"));
    }
    void fontDialog_data()
    {
        QTest::addColumn<QString>("chosen"); // "family [bold] [italic]"; "" cancels
        QTest::addColumn<bool>("convertBefore");
        QTest::addColumn<bool>("convertAfter");
        QTest::newRow("Kolvani switches Tamil typing on") << "Kolvani" << false << true;
        QTest::newRow("Nelpari, bold and italic") << "Nelpari bold italic" << false << true;
        QTest::newRow("a Latin font switches it off") << "DejaVu Sans bold" << true << false;
        QTest::newRow("cancelled: nothing changes") << "" << false << false;
        QTest::newRow("cancelled with Tamil typing on") << "" << true << true;
    }
    // The dialog's underline is not taken.
    void fontDialog()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, convertBefore);
        QFETCH(bool, convertAfter);
        box_->SetText("fz; abc");
        select(box_, 0, 7);
        item("convert")->setChecked(convertBefore);
        QFont font(QString(chosen).remove(" bold").remove(" italic"), 20);
        font.setBold(chosen.contains("bold"));
        font.setItalic(chosen.contains("italic"));
        font.setUnderline(true);
        f_->dialogs.fonts.push_back(chosen.isEmpty() ? std::nullopt : std::optional(font));
        item("font")->trigger();
        QCOMPARE(f_->dialogs.take(), QStringList{"font"});
        QCOMPARE(item("convert")->isChecked(), convertAfter);
        const QString expected = chosen.isEmpty() ? QStringLiteral("Kolvani") : chosen;
        QCOMPARE(look(0) + '|' + look(6), expected + '|' + expected);
        const double size = box_->currentCharFormat().fontPointSize();
        QCOMPARE(size != box_->document()->defaultFont().pointSizeF(), !chosen.isEmpty());
    }
    // A cancelled dialog leaves the colour as it was.
    void colourDialog()
    {
        box_->SetText("fz; abc");
        f_->dialogs.colors = {QColor(Qt::blue), std::nullopt};
        selectAndTrigger(0, 3, "colour");
        selectAndTrigger(4, 7, "colour");
        QCOMPARE(look(1) + '|' + look(5), QStringLiteral("Kolvani #0000ff|Kolvani"));
        QCOMPARE(f_->dialogs.take(), (QStringList{"color", "color"}));
    }
    // Partly set: the first click sets all of it, the second none. Then the
    // alignment buttons.
    void toolbarButtons()
    {
        for (const QString key : {"Bold", "Italic", "Underline"}) {
            box_->SetText("fz; jkpo;");
            select(box_, 0, 3);
            f_->frame->Toolbar1_ButtonClick(key);
            select(box_, 0, 9);
            QStringList states;
            for (int i = 0; i < 3; ++i) {
                const auto s = key == "Bold"     ? box_->SelBold()
                               : key == "Italic" ? box_->SelItalic()
                                                 : box_->SelUnderline();
                states << (s ? QString::number(*s) : "partly");
                f_->frame->Toolbar1_ButtonClick(key);
            }
            QCOMPARE(key + ' ' + states.join(u' '), key + " partly 1 0");
        }
        const std::pair<const char*, Qt::Alignment> alignments[] = {
            {"Align Right", Qt::AlignRight}, {"Center", Qt::AlignHCenter}, {"Align Left", Qt::AlignLeft}};
        for (const auto& [button, alignment] : alignments) {
            f_->frame->Toolbar1_ButtonClick(button);
            QCOMPARE(box_->textCursor().blockFormat().alignment() & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter),
                     alignment);
        }
    }
};

QTEST_MAIN(TestEditCommands)
#include "test_edit_commands.moc"
