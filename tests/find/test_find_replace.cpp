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
    void find();
    void replaceAll();
    void replaceAllCountsPastSixteenBitsInALargeDocument();
    void dialogMessages();
    void boxesTypeTamilWithTheirOwnKeyMemory();
};

// Ranges and case are the text box's own tests; here the fonts' word rules. A
// match becomes the selection; no match leaves the caret alone. Rows: text,
// sought, options, where found.
void TestFindReplace::find()
{
    const struct { const char *pieces, *text; int options, found; } rows[] = {
        {"K:fly; jkpo; mk;k", "jkpo;", wholeWord, 5},
        {"K:fz; fz", "fz", wholeWord, 4},     // the pulli continues a Tamil word
        {"K:fz,fz;", "fz", wholeWord, -1},    // so does , (the letter i)
        {"K: |L:fz;a", "fz", wholeWord, 1},   // but not in a Latin font
        {"K:fz;|L:fz", "fz", wholeWord, -1},  // Tamil neighbour, Latin match
        {"L:Cat catalog", "cAT", wholeWord, 0},
        {"K:fz\nfz", "fz\nfz", 0, -1},        // not across paragraphs
        {"K:fz", "", 0, -1},
    };
    QStringList got, want;
    for (const auto& r : rows) {
        RichTextBox box;
        fill(box, QString::fromLatin1(r.pieces));
        box.SetSelStart(1);
        const QString text = QString::fromLatin1(r.text);
        const QString row = QStringLiteral("%1 / %2: %3 %4+%5").arg(r.pieces, r.text);
        got << row.arg(box.Find(text, 0, -1, r.options)).arg(box.SelStart()).arg(box.SelLength());
        want << row.arg(r.found).arg(r.found < 0 ? 1 : r.found).arg(r.found < 0 ? 0 : text.size());
    }
    QCOMPARE(got, want);
}

// One undo step takes back every replacement. Rows: text, find, replacement,
// options, caret (-1: From start), result, caret after, count.
void TestFindReplace::replaceAll()
{
    const char* pets = "K:cat Cat catalog cat";
    const struct { const char *pieces, *find, *by; int options, caret; const char* result; int after, count; } rows[] = {
        {pets, "cat", "dog", wholeWord, -1, "dog dog catalog dog", 19, 3},
        {pets, "cat", "dog", matchCase, -1, "dog Cat dogalog dog", 19, 3},
        {pets, "cat", "dog", wholeWord, 5, "cat Cat catalog dog", 19, 1},
        {"K:a aa a", "a", "ab", matchCase, -1, "ab abab ab", 10, 4}, // longer, holding the text
        {"K:jkpo; jkpo;f", "jkpo;", "e", wholeWord, -1, "e jkpo;f", 1, 1},
        {pets, "dog", "cat", wholeWord, 2, pets + 2, 2, 0},
        // In a Latin font ";" is no letter: once the first ";" is "a", the second has a letter before it.
        {"L:;;", ";", "a", wholeWord, -1, "a;", 1, 1},
    };
    QStringList got, want;
    for (const auto& r : rows) {
        RichTextBox box;
        fill(box, QString::fromLatin1(r.pieces));
        box.document()->clearUndoRedoStacks();
        const QString before = box.Text();
        box.SetSelStart(std::max(r.caret, 0));
        const QString row = QStringLiteral("%1 / %2: %3 [%4] %5 %6").arg(r.pieces, r.find);
        const qint64 n = tk::find::replaceAll(box, QString::fromLatin1(r.find), QString::fromLatin1(r.by), r.options,
                                              r.caret < 0);
        got << row.arg(n).arg(box.Text()).arg(box.SelStart());
        box.undo();
        got.last() = got.last().arg(box.Text() == before);
        want << row.arg(r.count).arg(QString::fromLatin1(r.result)).arg(r.after).arg(true);
    }
    QCOMPARE(got, want);
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

// From a fresh dialog (Whole word and From start); Exit beeps and unloads it.
void TestFindReplace::dialogMessages()
{
    const QString refused = QStringLiteral("message:Tamil Kalvem:Both text boxes are same or niether of them is blank");
    const QString none = QStringLiteral("message:Tamil Kalvm:The replacement have been made  0 times");
    const QString text = QStringLiteral("fz fz fz;");
    const struct { QString find, by; bool document; QStringList messages; QString result; } rows[] = {
        {"fz", "jk", true, {"message:Tamil Kalvm:The replacement have been made  2 times"}, "jk jk fz;"},
        {"fz", "fz", true, {refused, none}, text},
        {"fz", "", true, {refused, none}, text},
        {"", "fz", true, {refused, none}, text},
        {"jk", "fz", true, {none}, text},
        {"fz", "jk", false, {"message:Tamil Kalvem:There is no document open to replace in."}, text},
    };
    for (const auto& r : rows) {
        ScriptedDialogs dialogs;
        QAction convert;
        RichTextBox box;
        box.SetText(text);
        QPointer<Form2> form = new Form2(&convert, [&]() -> RichTextBox* { return r.document ? &box : nullptr; });
        QVERIFY(!form->isModal() && form->Command1->isDefault());
        form->show();
        form->Text1->setText(r.find);
        form->Text2->setText(r.by);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        form->Command2->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form);
        QCOMPARE(dialogs.take(), r.messages + QStringList{"beep"});
        QCOMPARE(box.Text(), r.result);
    }
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
