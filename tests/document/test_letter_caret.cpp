// The caret in a document window never stands inside a letter of a Tamil
// display font: keys, clicks, drags and double clicks move over whole
// letters; Backspace and Delete never leave a sign without its consonant.
// Rows mark where a caret may stand with "|".
#include "form_fixture.h"
#include "../support/test_files.h"

#include "display_fonts.h"
#include "document/letters.h"
#include "document/words.h"

#include <QTextBlock>

using tk::document::RichTextBox;

namespace {

// "j|kp|o;" -> the text and the places a caret may stand.
std::pair<QString, QList<int>> parse(const QString& marked)
{
    QString text;
    QList<int> places{0};
    for (const QChar c : marked) {
        if (c == u'|')
            places << int(text.size());
        else
            text += c;
    }
    places << int(text.size());
    return {text, places};
}

void setInFont(RichTextBox* box, const QString& text, const QString& family)
{
    box->SetText(text);
    box->selectAll();
    box->SetSelFontName(family);
    box->SetSelStart(0);
}

// "fh|k" -> the text with the caret where the "|" is.
void setWithCaret(RichTextBox* box, const QString& marked, const QString& family = QStringLiteral("Kolvani"))
{
    setInFont(box, QString(marked).remove(u'|'), family);
    box->SetSelStart(int(marked.indexOf(u'|')));
}

QString withCaret(RichTextBox* box)
{
    QString text = box->Text();
    return text.insert(box->SelStart(), u'|');
}

} // namespace

class TestLetterCaret : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }
    void arrowsMoveOverLetters_data();
    void arrowsMoveOverLetters();
    void wordKeysMoveOverWords();
    void otherMovesEndOnLetterEdges();
    void clicksAndDragsEndOnLetterEdges();
    void doubleClickSelectsTheWholeWord();
    void backspaceAndDelete_data();
    void backspaceAndDelete();
    void overwritingTakesTheWholeLetter();
    void wordAround_data();
    void wordAround();
};

void TestLetterCaret::arrowsMoveOverLetters_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("marked");
    QTest::newRow("Tamil words") << "Kolvani" << "j|kp|o;| |t|d|f;|f|k;";
    QTest::newRow("signs before and both sides") << "Nelpari" << "nfh|z;|L| |Nfh|l;|il|ah|d| |nfs|ij";
    QTest::newRow("combined forms and grantha") << "Kolvani" << "$|W|F| |Z}| |b|B| |[{|u|k;| |gp|f;~_";
    QTest::newRow("paragraphs") << "Kolvani" << "j|kp|\n|nfh|\n|\n|f;";
    QTest::newRow("Latin text, letter by letter") << "Noto Sans" << "j|k|p|o|;| |n|f|h";
}

void TestLetterCaret::arrowsMoveOverLetters()
{
    QFETCH(QString, family);
    QFETCH(QString, marked);
    FormFixture f;
    RichTextBox* box = f.box();
    const auto [text, places] = parse(marked);
    setInFont(box, text, family);
    for (qsizetype i = 1; i < places.size(); ++i) {
        QTest::keyClick(box, Qt::Key_Right);
        QCOMPARE(box->SelStart(), places[i]);
    }
    for (qsizetype i = places.size() - 2; i >= 0; --i) {
        QTest::keyClick(box, Qt::Key_Left);
        QCOMPARE(box->SelStart(), places[i]);
    }
    // Shift extends the selection letter by letter; Right without it goes
    // to the selection's end.
    QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(box->SelLength(), places[2]);
    QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(box->SelLength(), places[1]);
    QTest::keyClick(box, Qt::Key_Right);
    QCOMPARE(box->SelStart(), places[1]);
    QCOMPARE(box->SelLength(), 0);
}

void TestLetterCaret::wordKeysMoveOverWords()
{
    FormFixture f;
    RichTextBox* box = f.box();
    // தமிழ், வனக்கம், கொண்டு: ";" and "," are letters here, not punctuation.
    setInFont(box, QStringLiteral("jkpo; tdf;fk;  nfhz;L\nM,"), QStringLiteral("Kolvani"));
    for (const auto& [key, stops] : {std::pair{Qt::Key_Right, QList<int>{6, 15, 21, 22, 24}},
                                     std::pair{Qt::Key_Left, QList<int>{22, 21, 15, 6, 0}}}) {
        for (int stop : stops) {
            QTest::keyClick(box, key, Qt::ControlModifier);
            QCOMPARE(box->SelStart(), stop);
        }
    }
    // Ctrl+Backspace and Ctrl+Delete take whole words.
    box->SetSelStart(13);
    QTest::keyClick(box, Qt::Key_Backspace, Qt::ControlModifier);
    QCOMPARE(withCaret(box), QStringLiteral("jkpo; |  nfhz;L\nM,"));
    QTest::keyClick(box, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(withCaret(box), QStringLiteral("jkpo; |nfhz;L\nM,"));
}

// Home, End, the vertical and page keys go where the layout says, then on
// to the edge of the letter they stopped in.
void TestLetterCaret::otherMovesEndOnLetterEdges()
{
    FormFixture f;
    RichTextBox* box = f.box();
    QString line;
    for (int i = 0; i < 12; ++i)
        line += QStringLiteral("nfhz;L Nfhl;ilahd gpf;~_ ");
    QString text;
    for (int i = 0; i < 6; ++i)
        text += (i ? QStringLiteral("\n") : QString()) + line.mid(i % 4);
    setInFont(box, text, QStringLiteral("Kolvani"));
    f.form->resize(400, 300);
    QCoreApplication::processEvents();
    auto isPlace = [&](int pos) {
        return tk::document::snapToLetter(*box->document(), pos, tk::document::Toward::Start) == pos;
    };
    const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_End, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_PageUp};
    for (int start = 0; start < 60; ++start) {
        if (!isPlace(start))
            continue;
        for (Qt::Key key : keys) {
            box->SetSelStart(start);
            QTest::keyClick(box, key);
            QVERIFY2(isPlace(box->SelStart()), qPrintable(QStringLiteral("%1 from %2").arg(box->SelStart()).arg(start)));
            QTest::keyClick(box, key, Qt::ShiftModifier);
            QVERIFY(isPlace(box->textCursor().position()) && isPlace(box->textCursor().anchor()));
        }
    }
}

void TestLetterCaret::clicksAndDragsEndOnLetterEdges()
{
    FormFixture f;
    RichTextBox* box = f.box();
    const auto [text, places] = parse(QStringLiteral("nfh|z;|L| |Nfh|l;|il|ah|d| |gp|f;~_| |nfs|ij"));
    setInFont(box, text, QStringLiteral("Kolvani"));
    QWidget* view = box->viewport();
    const int y = box->cursorRect().center().y();
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    const int right = box->cursorRect(end).right() + 4;
    for (int x = 0; x < right; x += 2) {
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(x, y));
        QVERIFY2(places.contains(box->SelStart()), qPrintable(QStringLiteral("x %1: %2").arg(x).arg(box->SelStart())));
    }
    // Drags both ways: the selection takes in every letter it touches.
    for (int x = 3; x < right; x += 7) {
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(right / 2, y));
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), view->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(x, y));
        const QTextCursor c = box->textCursor();
        QVERIFY2(places.contains(c.anchor()) && places.contains(c.position()),
                 qPrintable(QStringLiteral("x %1: %2..%3").arg(x).arg(c.anchor()).arg(c.position())));
    }
}

void TestLetterCaret::doubleClickSelectsTheWholeWord()
{
    FormFixture f;
    RichTextBox* box = f.box();
    setInFont(box, QStringLiteral("jkpo; tdf;fk; M,"), QStringLiteral("Kolvani"));
    // In the middle of வனக்கம், on its last letter, on ஆஇ, on தமிழ்.
    const std::pair<int, const char*> clicks[] = {{8, "tdf;fk;"}, {12, "tdf;fk;"}, {14, "M,"}, {2, "jkpo;"}};
    for (const auto& [inside, word] : clicks) {
        QTextCursor at(box->document());
        at.setPosition(inside);
        QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, box->cursorRect(at).center() + QPoint(1, 0));
        QCOMPARE(box->SelText(), QString::fromLatin1(word));
    }
    // Typing over the word leaves no stray pulli of it.
    QCOMPARE(f.type("ka"), QByteArray("f tdf;fk; M,"));
}

void TestLetterCaret::backspaceAndDelete_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("after");
    const int bs = Qt::Key_Backspace, del = Qt::Key_Delete;
    // Backspace takes the sign typed last, then the consonant (the engine's
    // tests hold the whole table of letters).
    QTest::newRow("pulli") << "jkpo;|" << bs << "jkpo|";
    QTest::newRow("bare consonant") << "jkpo|" << bs << "jkp|";
    QTest::newRow("ொ, mid-word") << "nfh|z;L" << bs << "f|z;L";
    QTest::newRow("ை, drawn before") << "if|" << bs << "f|";
    QTest::newRow("uu-form with its mark") << "Z}|" << bs << "z|";
    QTest::newRow("க்ஷ whole") << "gpf;~|" << bs << "gp|";
    QTest::newRow("paragraph break") << "fh\n|f" << bs << "fh|f";
    // Delete takes the whole letter after the caret.
    QTest::newRow("delete ொ") << "|nfhz;L" << del << "|z;L";
    QTest::newRow("delete ஜு") << "x|[{uk;" << del << "x|uk;";
    QTest::newRow("delete at the end of a paragraph") << "fh|\nf" << del << "fh|f";
    // "@": outside the display fonts, where every character is a letter.
    QTest::newRow("Latin font") << "@nfh|" << bs << "nf|";
}

void TestLetterCaret::backspaceAndDelete()
{
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(QString, after);
    const bool latin = before.startsWith(u'@');
    before.remove(u'@');
    for (const bool tamilTyping : {true, false}) {
        FormFixture f;
        f.convert.setChecked(tamilTyping);
        setWithCaret(f.box(), before, QString::fromLatin1(latin ? "Noto Sans" : "Kolvani"));
        QTest::keyClick(f.box(), Qt::Key(key));
        QCOMPARE(withCaret(f.box()), after);
        // One undo step brings it back.
        QTest::keyClick(f.box(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.box()->Text(), QString(before).remove(u'|'));
    }
}

// Overwriting takes the whole letter; the dot and the vowel's own edits
// overwrite nothing further, and each key is one undo step.
void TestLetterCaret::overwritingTakesTheWholeLetter()
{
    FormFixture f;
    setWithCaret(f.box(), QStringLiteral("|nfh k"));
    QTest::keyClick(f.box(), Qt::Key_Insert);
    QCOMPARE(f.type("k"), QByteArray("f; k"));
    QCOMPARE(f.type("a"), QByteArray("f k"));
    for (const char* before : {"f; k", "nfh k"}) {
        QTest::keyClick(f.box(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.text(), QByteArray(before));
    }
}

void TestLetterCaret::wordAround_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("word");
    // The document: "fz; [{uk;" in Kolvani, then " a;b, c" in a Latin font.
    QTest::newRow("pulli inside a Tamil word") << 2 << "fz;";
    QTest::newRow("just after a Tamil word") << 3 << "fz;";
    QTest::newRow("grantha signs are letters") << 5 << "[{uk;";
    QTest::newRow("Latin semicolon ends a word") << 11 << "a";
    QTest::newRow("Latin word after it") << 12 << "b";
    QTest::newRow("blank after Latin punctuation") << 14 << "";
}

void TestLetterCaret::wordAround()
{
    QFETCH(int, pos);
    QFETCH(QString, word);
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat tamil, latin;
    tamil.setFontFamilies({QStringLiteral("Kolvani")});
    latin.setFontFamilies({QStringLiteral("DejaVu Sans")});
    cursor.insertText(QStringLiteral("fz; [{uk;"), tamil);
    cursor.insertText(QStringLiteral(" a;b, c"), latin);
    const auto span = tk::document::wordAt(document, pos);
    QCOMPARE(document.toPlainText().mid(span.start, span.end - span.start), word);
}

QTEST_MAIN(TestLetterCaret)
#include "test_letter_caret.moc"
