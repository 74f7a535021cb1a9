// Find and Replace: whole words in Tamil and Latin text, Replace all in its
// two modes, the Replace dialog and the boxes that type Tamil.
#include "../support/scripted_dialogs.h"

#include "document/rich_text_box.h"
#include "document/text_search.h"
#include "find/form2.h"
#include "find/phonetic_line_edit.h"
#include "find/replace_all.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using tk::document::RichTextBox;
using tk::find::Form2;
using tk::find::PhoneticLineEdit;

namespace {

// "|" switches between Kolvani (the start) and a Latin font.
void fill(RichTextBox& box, const QString& runs)
{
    box.clear();
    QTextCursor cursor(box.document());
    QTextCharFormat tamil, latin;
    tamil.setFontFamilies({QStringLiteral("Kolvani")});
    latin.setFontFamilies({QStringLiteral("DejaVu Sans")});
    bool inTamil = true;
    for (const QString& run : runs.split(u'|')) {
        cursor.insertText(run, inTamil ? tamil : latin);
        inTamil = !inTamil;
    }
    box.SetSelStart(0);
}

constexpr int wholeWord = tk::document::WholeWord;
constexpr int matchCase = tk::document::MatchCase;

} // namespace

class TestFindReplace : public QObject {
    Q_OBJECT
private slots:
    void find_data();
    void find();
    void replaceAll_data();
    void replaceAll();
    void replaceAllIsOneUndoStep();
    void replaceAllCountsPastSixteenBitsInALargeDocument();
    void dialogControls();
    void dialogMessages_data();
    void dialogMessages();
    void exitBeepsAndUnloads();
    void boxesTypeTamilWithTheirOwnKeyMemory();
};

void TestFindReplace::find_data()
{
    QTest::addColumn<QString>("runs");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("found");
    QTest::newRow("Tamil word") << "fly; jkpo; mk;k" << "jkpo;" << wholeWord << 0 << -1 << 5;
    QTest::newRow("the pulli continues a Tamil word") << "fz; fz" << "fz" << wholeWord << 0 << -1 << 4;
    QTest::newRow("so does , (the letter i)") << "fz,fz;" << "fz" << wholeWord << 0 << -1 << -1;
    QTest::newRow("but not in a Latin font") << " |fz;a" << "fz" << wholeWord << 0 << -1 << 1;
    QTest::newRow("Tamil neighbour, Latin match") << "fz;|fz" << "fz" << wholeWord << 0 << -1 << -1;
    QTest::newRow("whole word ignores case") << "|Cat catalog" << "cAT" << wholeWord << 0 << -1 << 0;
    QTest::newRow("match case finds inside words") << "|Cat catalog" << "cat" << matchCase << 0 << -1 << 4;
    QTest::newRow("match case minds case") << "|Cat" << "cat" << matchCase << 0 << -1 << -1;
    QTest::newRow("from the start position") << "fz fz fz" << "fz" << wholeWord << 1 << -1 << 3;
    QTest::newRow("ends by the end position") << "fz fz" << "fz" << wholeWord << 1 << 4 << -1;
    QTest::newRow("not across paragraphs") << "fz\nfz" << "fz\nfz" << 0 << 0 << -1 << -1;
    QTest::newRow("empty text") << "fz" << "" << 0 << 0 << -1 << -1;
}

void TestFindReplace::find()
{
    QFETCH(QString, runs);
    QFETCH(QString, text);
    QFETCH(int, options);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, found);
    RichTextBox box;
    fill(box, runs);
    box.SetSelStart(1);
    QCOMPARE(box.Find(text, start, end, options), found);
    // A match becomes the selection; no match leaves the caret alone.
    QCOMPARE(box.SelStart(), found < 0 ? 1 : found);
    QCOMPARE(box.SelLength(), found < 0 ? 0 : int(text.size()));
}

void TestFindReplace::replaceAll_data()
{
    QTest::addColumn<QString>("runs");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("caret"); // -1: From start
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("caretAfter");
    QTest::addColumn<int>("count");
    const QString pets = QStringLiteral("cat Cat catalog cat");
    QTest::newRow("whole word from start") << pets << "cat" << "dog" << wholeWord << -1 << "dog dog catalog dog" << 19 << 3;
    QTest::newRow("match case from start") << pets << "cat" << "dog" << matchCase << -1 << "dog Cat dogalog dog" << 19 << 3;
    QTest::newRow("whole word from the caret") << pets << "cat" << "dog" << wholeWord << 5 << "cat Cat catalog dog" << 19 << 1;
    QTest::newRow("match case from the caret") << pets << "cat" << "dog" << matchCase << 1 << "cat Cat dogalog dog" << 19 << 2;
    QTest::newRow("longer replacement holding the text") << "a aa a" << "a" << "ab" << matchCase << -1
                                                        << "ab abab ab" << 10 << 4;
    QTest::newRow("shorter replacement, caret after the last") << "jkpo; jkpo;f" << "jkpo;" << "e" << wholeWord
                                                              << -1 << "e jkpo;f" << 1 << 1;
    QTest::newRow("no match leaves the caret") << pets << "dog" << "cat" << wholeWord << 2 << pets << 2 << 0;
    // In a Latin font ";" is no letter: ";;" is two whole-word matches, but
    // once the first is "a", the second has a letter before it.
    QTest::newRow("a replacement ending in a letter joins the next") << "|;;" << ";" << "a" << wholeWord << -1
                                                                    << "a;" << 1 << 1;
}

void TestFindReplace::replaceAll()
{
    QFETCH(QString, runs);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(int, options);
    QFETCH(int, caret);
    QFETCH(QString, result);
    QFETCH(int, caretAfter);
    QFETCH(int, count);
    RichTextBox box;
    fill(box, runs);
    box.SetSelStart(std::max(caret, 0));
    QCOMPARE(tk::find::replaceAll(box, find, replacement, options, caret < 0), qint64(count));
    QCOMPARE(box.Text(), result);
    QCOMPARE(box.SelStart(), caretAfter);
}

void TestFindReplace::replaceAllIsOneUndoStep()
{
    RichTextBox box;
    fill(box, QStringLiteral("fz fz; fz"));
    QCOMPARE(tk::find::replaceAll(box, QStringLiteral("fz"), QStringLiteral("jkpo;"), wholeWord, true), qint64(2));
    QCOMPARE(box.Text(), QStringLiteral("jkpo; fz; jkpo;"));
    box.undo();
    QCOMPARE(box.Text(), QStringLiteral("fz fz; fz"));
}

// A document of megabytes is laid out again in the background: the caret
// stays where it was, moved on only by the replacements before it.
void TestFindReplace::replaceAllCountsPastSixteenBitsInALargeDocument()
{
    RichTextBox box;
    const QString piece = QStringLiteral("fz ifif if ");
    box.SetText(piece.repeated(100000));
    box.SetSelStart(5);
    QCOMPARE(tk::find::replaceAll(box, QStringLiteral("fz"), QStringLiteral("fz;"), wholeWord, true), qint64(100000));
    QCOMPARE(box.Text(), QStringLiteral("fz; ifif if ").repeated(100000));
    QCOMPARE(box.SelStart(), int(box.Text().lastIndexOf(QStringLiteral("fz;")) + 3));
    QCOMPARE(Form2::countMessage(100000), QStringLiteral("The replacement have been made  100000 times"));
}

void TestFindReplace::dialogControls()
{
    QAction convert;
    Form2 form(&convert, [] { return nullptr; });
    QCOMPARE(form.windowTitle(), QStringLiteral("Replace"));
    QVERIFY(!form.isModal());
    const std::pair<QWidget*, QString> captions[] = {
        {form.Frame1, "Find and Replace"}, {form.Label1, "Find what:"}, {form.Label2, "Replace with:"},
        {form.Option1, "Whole word"},      {form.Option2, "Match case"}, {form.Check1, "From start"},
        {form.Command1, "Search"},         {form.Command2, "E&xit"},
    };
    for (const auto& [widget, caption] : captions) {
        const QString shown = widget->property(qobject_cast<QGroupBox*>(widget) ? "title" : "text").toString();
        QCOMPARE(shown, caption);
        QCOMPARE(widget->font().family(), QStringLiteral("Verdana"));
    }
    QCOMPARE(form.Frame2->title(), QString());
    QVERIFY(form.Text1->text().isEmpty() && form.Text2->text().isEmpty());
    QVERIFY(form.Option1->isChecked() && !form.Option2->isChecked() && form.Check1->isChecked());
    QVERIFY(form.Command1->isDefault());
    form.Option2->setChecked(true);
    QVERIFY(!form.Option1->isChecked());
}

void TestFindReplace::dialogMessages_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("document");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("result");
    const QString refused = QStringLiteral("message:Tamil Kalvem:Both text boxes are same or niether of them is blank");
    const QString none = QStringLiteral("message:Tamil Kalvm:The replacement have been made  0 times");
    QTest::newRow("replaced") << "fz" << "jk" << true
                              << QStringList{"message:Tamil Kalvm:The replacement have been made  2 times"}
                              << "jk jk fz;";
    QTest::newRow("same texts") << "fz" << "fz" << true << QStringList{refused, none} << "fz fz fz;";
    QTest::newRow("empty replacement") << "fz" << "" << true << QStringList{refused, none} << "fz fz fz;";
    QTest::newRow("empty find text") << "" << "fz" << true << QStringList{refused, none} << "fz fz fz;";
    QTest::newRow("no match") << "jk" << "fz" << true << QStringList{none} << "fz fz fz;";
    QTest::newRow("no document")
        << "fz" << "jk" << false << QStringList{"message:Tamil Kalvem:There is no document open to replace in."}
        << "fz fz fz;";
}

void TestFindReplace::dialogMessages()
{
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(bool, document);
    QFETCH(QStringList, messages);
    QFETCH(QString, result);
    ScriptedDialogs dialogs;
    QAction convert;
    RichTextBox box;
    box.SetText(QStringLiteral("fz fz fz;"));
    Form2 form(&convert, [&]() -> RichTextBox* { return document ? &box : nullptr; });
    form.Text1->setText(find);
    form.Text2->setText(replacement);
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QCOMPARE(dialogs.take(), messages);
    QCOMPARE(box.Text(), result);
}

void TestFindReplace::exitBeepsAndUnloads()
{
    ScriptedDialogs dialogs;
    QAction convert;
    QPointer<Form2> form = new Form2(&convert, [] { return nullptr; });
    form->show();
    form->Command2->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!form);
    QCOMPARE(dialogs.take(), QStringList{"beep"});
}

void TestFindReplace::boxesTypeTamilWithTheirOwnKeyMemory()
{
    QAction convert;
    convert.setCheckable(true);
    convert.setChecked(true);
    Form2 form(&convert, [] { return nullptr; });
    QTest::keyClicks(form.Text1, QStringLiteral("thamiz"));
    QCOMPARE(form.Text1->text(), QStringLiteral("jkpo;"));
    QCOMPARE(form.Text1->font().family(), QStringLiteral("Kolvani"));
    // Text2 does not carry on from the z typed in Text1: "a" starts a word.
    QTest::keyClicks(form.Text2, QStringLiteral("amma"));
    QCOMPARE(form.Text2->text(), QStringLiteral("mk;k"));
    QCOMPARE(form.Text1->keyMemory().lastKey, 'z');
    QCOMPARE(form.Text2->keyMemory().lastKey, 'a');
    convert.setChecked(false);
    QVERIFY(form.Text1->font().family() != QStringLiteral("Kolvani"));
    QTest::keyClicks(form.Text1, QStringLiteral(" ka"));
    QCOMPARE(form.Text1->text(), QStringLiteral("jkpo; ka"));
}

QTEST_MAIN(TestFindReplace)
#include "test_find_replace.moc"
