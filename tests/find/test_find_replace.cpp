// Find and Replace: whole words in both fonts, Replace all, the dialog, its Tamil boxes.
#include "../support/scripted_dialogs.h"
#include "../support/text_pieces.h"

#include "document/rich_text_box.h"
#include "document/text_search.h"
#include "find/form2.h"
#include "find/phonetic_line_edit.h"
#include "find/replace_all.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

using tk::document::RichTextBox;
using tk::find::Form2;

constexpr int wholeWord = tk::document::WholeWord;
constexpr int matchCase = tk::document::MatchCase;

class TestFindReplace : public QObject {
    Q_OBJECT
private slots:
    void find_data();
    void find();
    void replaceAll_data();
    void replaceAll();
    void replaceAllCountsPastSixteenBitsInALargeDocument();
    void dialogMessages_data();
    void dialogMessages();
    void boxesTypeTamilWithTheirOwnKeyMemory();
};

// Ranges and case are the text box's own tests; here the fonts' word rules.
void TestFindReplace::find_data()
{
    QTest::addColumn<QString>("pieces");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("found");
    QTest::newRow("Tamil word") << "K:fly; jkpo; mk;k" << "jkpo;" << wholeWord << 5;
    QTest::newRow("the pulli continues a Tamil word") << "K:fz; fz" << "fz" << wholeWord << 4;
    QTest::newRow("so does , (the letter i)") << "K:fz,fz;" << "fz" << wholeWord << -1;
    QTest::newRow("but not in a Latin font") << "K: |L:fz;a" << "fz" << wholeWord << 1;
    QTest::newRow("Tamil neighbour, Latin match") << "K:fz;|L:fz" << "fz" << wholeWord << -1;
    QTest::newRow("whole word ignores case") << "L:Cat catalog" << "cAT" << wholeWord << 0;
    QTest::newRow("not across paragraphs") << "K:fz\nfz" << "fz\nfz" << 0 << -1;
    QTest::newRow("empty text") << "K:fz" << "" << 0 << -1;
}

void TestFindReplace::find()
{
    QFETCH(QString, pieces);
    QFETCH(QString, text);
    QFETCH(int, options);
    QFETCH(int, found);
    RichTextBox box;
    fill(box, pieces);
    box.SetSelStart(1);
    QCOMPARE(box.Find(text, 0, -1, options), found);
    // A match becomes the selection; no match leaves the caret alone.
    QCOMPARE(box.SelStart(), found < 0 ? 1 : found);
    QCOMPARE(box.SelLength(), found < 0 ? 0 : int(text.size()));
}

void TestFindReplace::replaceAll_data()
{
    QTest::addColumn<QString>("pieces");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("caret"); // -1: From start
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("caretAfter");
    QTest::addColumn<int>("count");
    const QString pets = QStringLiteral("K:cat Cat catalog cat");
    QTest::newRow("whole word from start") << pets << "cat" << "dog" << wholeWord << -1 << "dog dog catalog dog" << 19 << 3;
    QTest::newRow("match case from start") << pets << "cat" << "dog" << matchCase << -1 << "dog Cat dogalog dog" << 19 << 3;
    QTest::newRow("whole word from the caret") << pets << "cat" << "dog" << wholeWord << 5 << "cat Cat catalog dog" << 19 << 1;
    QTest::newRow("longer replacement holding the text") << "K:a aa a" << "a" << "ab" << matchCase << -1
                                                        << "ab abab ab" << 10 << 4;
    QTest::newRow("shorter replacement, caret after the last") << "K:jkpo; jkpo;f" << "jkpo;" << "e" << wholeWord
                                                              << -1 << "e jkpo;f" << 1 << 1;
    QTest::newRow("no match leaves the caret") << pets << "dog" << "cat" << wholeWord << 2 << pets.mid(2) << 2 << 0;
    // In a Latin font ";" is no letter: ";;" is two whole-word matches, but
    // once the first is "a", the second has a letter before it.
    QTest::newRow("a replacement ending in a letter joins the next") << "L:;;" << ";" << "a" << wholeWord << -1
                                                                    << "a;" << 1 << 1;
}

void TestFindReplace::replaceAll()
{
    QFETCH(QString, pieces);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(int, options);
    QFETCH(int, caret);
    QFETCH(int, count);
    RichTextBox box;
    fill(box, pieces);
    box.document()->clearUndoRedoStacks();
    const QString before = box.Text();
    box.SetSelStart(std::max(caret, 0));
    QCOMPARE(tk::find::replaceAll(box, find, replacement, options, caret < 0), qint64(count));
    QTEST(box.Text(), "result");
    QTEST(box.SelStart(), "caretAfter");
    // One undo step takes back every replacement.
    box.undo();
    QCOMPARE(box.Text(), before);
}

// Megabytes: the count passes 16 bits, the caret ends after the last one.
void TestFindReplace::replaceAllCountsPastSixteenBitsInALargeDocument()
{
    RichTextBox box;
    box.SetText(QStringLiteral("fz ifif if ").repeated(100000));
    box.SetSelStart(5);
    QCOMPARE(tk::find::replaceAll(box, QStringLiteral("fz"), QStringLiteral("fz;"), wholeWord, true), qint64(100000));
    QCOMPARE(box.Text(), QStringLiteral("fz; ifif if ").repeated(100000));
    QCOMPARE(box.SelStart(), int(box.Text().lastIndexOf(QStringLiteral("fz;")) + 3));
    QCOMPARE(Form2::countMessage(100000), QStringLiteral("The replacement have been made  100000 times"));
}

// From a fresh dialog: Whole word and From start, as the first row shows.
void TestFindReplace::dialogMessages_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("document");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("result");
    const QString refused = QStringLiteral("message:Tamil Kalvem:Both text boxes are same or niether of them is blank");
    const QString none = QStringLiteral("message:Tamil Kalvm:The replacement have been made  0 times");
    const QString text = QStringLiteral("fz fz fz;");
    QTest::newRow("replaced") << "fz" << "jk" << true
                              << QStringList{"message:Tamil Kalvm:The replacement have been made  2 times"} << "jk jk fz;";
    QTest::newRow("same texts") << "fz" << "fz" << true << QStringList{refused, none} << text;
    QTest::newRow("empty replacement") << "fz" << "" << true << QStringList{refused, none} << text;
    QTest::newRow("empty find text") << "" << "fz" << true << QStringList{refused, none} << text;
    QTest::newRow("no match") << "jk" << "fz" << true << QStringList{none} << text;
    QTest::newRow("no document") << "fz" << "jk" << false
                                 << QStringList{"message:Tamil Kalvem:There is no document open to replace in."} << text;
}

void TestFindReplace::dialogMessages()
{
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(bool, document);
    ScriptedDialogs dialogs;
    QAction convert;
    RichTextBox box;
    box.SetText(QStringLiteral("fz fz fz;"));
    QPointer<Form2> form = new Form2(&convert, [&]() -> RichTextBox* { return document ? &box : nullptr; });
    QVERIFY(!form->isModal() && form->Command1->isDefault());
    form->show();
    form->Text1->setText(find);
    form->Text2->setText(replacement);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QTEST(dialogs.take(), "messages");
    QTEST(box.Text(), "result");
    // Exit beeps and unloads the dialog.
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
    convert.setChecked(false);
    QVERIFY(form.Text1->font().family() != QStringLiteral("Kolvani"));
    QTest::keyClicks(form.Text1, QStringLiteral(" ka"));
    QCOMPARE(form.Text1->text(), QStringLiteral("jkpo; ka"));
}

QTEST_MAIN(TestFindReplace)
#include "test_find_replace.moc"
