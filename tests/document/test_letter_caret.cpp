// The caret never stands inside a letter of a Tamil display font: keys,
// clicks, drags and double clicks move over whole letters; Backspace and
// Delete never leave a sign without its consonant. "|" marks caret places.
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
    QList<int> places{0};
    for (qsizetype i = marked.indexOf(u'|'); i >= 0; i = marked.indexOf(u'|', i + 1))
        places << int(i - places.size() + 1); // less the marks before it
    places << int(marked.size() - places.size() + 1);
    return {QString(marked).remove(u'|'), places};
}

} // namespace

class TestLetterCaret : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }

    void arrowsMoveOverLetters()
    {
        const std::pair<const char*, const char*> rows[] = {
            {"Kolvani", "j|kp|o;| |t|d|f;|f|k;"}, {"Nelpari", "nfh|z;|L| |Nfh|l;|il|ah|d| |nfs|ij"},
            {"Kolvani", "$|W|F| |Z}| |b|B| |[{|u|k;| |gp|f;~_"}, {"Kolvani", "j|kp|\n|nfh|\n|\n|f;"},
            {"Noto Sans", "j|k|p|o|;| |n|f|h"}, // Latin text, letter by letter
        };
        for (const auto& [family, marked] : rows) {
            FormFixture f;
            RichTextBox* box = f.box();
            const auto [text, places] = parse(QString::fromLatin1(marked));
            f.setText(text, QString::fromLatin1(family));
            QList<int> right, left;
            for (qsizetype i = 0; i < places.size(); ++i, QTest::keyClick(box, Qt::Key_Right))
                right << box->SelStart();
            for (qsizetype i = 0; i < places.size(); ++i, QTest::keyClick(box, Qt::Key_Left))
                left.prepend(box->SelStart());
            QCOMPARE(right, places);
            QCOMPARE(left, places);
            // Shift extends letter by letter; Right without it goes to the selection's end.
            QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
            QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
            QCOMPARE(box->SelLength(), places[2]);
            QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
            QCOMPARE(box->SelLength(), places[1]);
            QTest::keyClick(box, Qt::Key_Right);
            QVERIFY(box->SelStart() == places[1] && box->SelLength() == 0);
        }
    }

    void wordKeysMoveOverWords()
    {
        FormFixture f;
        RichTextBox* box = f.box();
        // ";" and "," are letters here, not punctuation.
        f.setText(QStringLiteral("jkpo; tdf;fk;  nfhz;L\nM,"));
        QList<int> stops;
        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Left})
            for (int i = 0; i < 5; ++i, stops << box->SelStart())
                QTest::keyClick(box, key, Qt::ControlModifier);
        QCOMPARE(stops, (QList<int>{6, 15, 21, 22, 24, 22, 21, 15, 6, 0}));
        box->SetSelStart(13);
        QTest::keyClick(box, Qt::Key_Backspace, Qt::ControlModifier);
        QCOMPARE(f.withCaret(), QStringLiteral("jkpo; |  nfhz;L\nM,"));
        QTest::keyClick(box, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(f.withCaret(), QStringLiteral("jkpo; |nfhz;L\nM,"));
    }

    // Home, End, the vertical and page keys go where the layout says, then on
    // to the edge of the letter they stopped in.
    void otherMovesEndOnLetterEdges()
    {
        FormFixture f;
        RichTextBox* box = f.box();
        const QString line = QStringLiteral("nfhz;L Nfhl;ilahd gpf;~_ ").repeated(12);
        QStringList lines;
        for (int i = 0; i < 6; ++i)
            lines << line.mid(i % 4);
        f.setText(lines.join(u'\n'));
        f.form->resize(400, 300);
        QCoreApplication::processEvents();
        auto isPlace = [&](int pos) {
            return tk::document::snapToLetter(*box->document(), pos, tk::document::Toward::Start) == pos;
        };
        for (int start = 0; start < 60; ++start) {
            for (Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_PageUp}) {
                if (!isPlace(start))
                    break;
                box->SetSelStart(start);
                QTest::keyClick(box, key);
                QVERIFY2(isPlace(box->SelStart()), qPrintable(QStringLiteral("%1 from %2").arg(box->SelStart()).arg(start)));
                QTest::keyClick(box, key, Qt::ShiftModifier);
                QVERIFY(isPlace(box->textCursor().position()) && isPlace(box->textCursor().anchor()));
            }
        }
    }

    void clicksAndDragsEndOnLetterEdges()
    {
        FormFixture f;
        RichTextBox* box = f.box();
        const auto [text, places] = parse(QStringLiteral("nfh|z;|L| |Nfh|l;|il|ah|d| |gp|f;~_| |nfs|ij"));
        f.setText(text);
        QWidget* view = box->viewport();
        const int y = box->cursorRect().center().y();
        QTextCursor end(box->document());
        end.movePosition(QTextCursor::End);
        const int right = box->cursorRect(end).right() + 4;
        for (int x = 0; x < right; x += 2) {
            QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(x, y));
            QVERIFY2(places.contains(box->SelStart()), qPrintable(QStringLiteral("x %1: %2").arg(x).arg(box->SelStart())));
        }
        // Drags both ways take in every letter they touch.
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

    void doubleClickSelectsTheWholeWord()
    {
        FormFixture f;
        RichTextBox* box = f.box();
        f.setText(QStringLiteral("jkpo; tdf;fk; M,"));
        QStringList words;
        for (const int inside : {8, 12, 14, 2}) { // mid-word, on a last letter, on ஆஇ, on தமிழ்
            QTextCursor at(box->document());
            at.setPosition(inside);
            QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, box->cursorRect(at).center() + QPoint(1, 0));
            words << box->SelText();
        }
        QCOMPARE(words, (QStringList{"tdf;fk;", "tdf;fk;", "M,", "jkpo;"}));
        // Typing over the word leaves no stray pulli of it.
        QCOMPARE(f.type("ka"), QByteArray("f tdf;fk; M,"));
    }

    // Backspace takes the sign typed last, then the consonant (the engine's tests
    // hold the whole table of letters); Delete the whole letter after the caret;
    // "@": in a Latin font, where every character is a letter.
    void backspaceAndDelete()
    {
        const Qt::Key bs = Qt::Key_Backspace, del = Qt::Key_Delete;
        const std::tuple<const char*, Qt::Key, const char*> rows[] = {
            {"jkpo;|", bs, "jkpo|"}, {"jkpo|", bs, "jkp|"}, {"nfh|z;L", bs, "f|z;L"}, {"if|", bs, "f|"},
            {"Z}|", bs, "z|"},       {"gpf;~|", bs, "gp|"}, {"fh\n|f", bs, "fh|f"},  {"|nfhz;L", del, "|z;L"},
            {"x|[{uk;", del, "x|uk;"}, {"fh|\nf", del, "fh|f"}, {"@nfh|", bs, "nf|"},
        };
        for (const bool tamilTyping : {true, false}) {
            for (const auto& [row, key, after] : rows) {
                const QString before = QString::fromLatin1(row).remove(u'@');
                FormFixture f;
                f.convert.setChecked(tamilTyping);
                f.setText(before, QString::fromLatin1(row[0] == '@' ? "Noto Sans" : "Kolvani"));
                QTest::keyClick(f.box(), key);
                QCOMPARE(f.withCaret(), QString::fromLatin1(after));
                f.undo(); // one undo step brings it back
                QCOMPARE(f.box()->Text(), QString(before).remove(u'|'));
            }
        }
    }

    // Overwriting takes the whole letter; the dot and the vowel's own edits
    // overwrite nothing further, and each key is one undo step.
    void overwritingTakesTheWholeLetter()
    {
        FormFixture f;
        f.setText(QStringLiteral("|nfh k"));
        QTest::keyClick(f.box(), Qt::Key_Insert);
        QCOMPARE(f.type("k"), QByteArray("f; k"));
        QCOMPARE(f.type("a"), QByteArray("f k"));
        f.undo();
        QCOMPARE(f.text(), QByteArray("f; k"));
        f.undo();
        QCOMPARE(f.text(), QByteArray("nfh k"));
    }

    // In "fz; [{uk;" (Kolvani) then " a;b, c" (Latin): a pulli and grantha signs
    // are letters of a Tamil word; a Latin semicolon ends a word.
    void wordAround()
    {
        QTextDocument document;
        QTextCursor cursor(&document);
        QTextCharFormat tamil, latin;
        tamil.setFontFamilies({QStringLiteral("Kolvani")});
        latin.setFontFamilies({QStringLiteral("DejaVu Sans")});
        cursor.insertText(QStringLiteral("fz; [{uk;"), tamil);
        cursor.insertText(QStringLiteral(" a;b, c"), latin);
        QStringList words;
        for (const int pos : {2, 3, 5, 11, 12, 14}) {
            const auto span = tk::document::wordAt(document, pos);
            words << document.toPlainText().mid(span.start, span.end - span.start);
        }
        QCOMPARE(words, (QStringList{"fz;", "fz;", "[{uk;", "a", "b", ""}));
    }
};

QTEST_MAIN(TestLetterCaret)
#include "test_letter_caret.moc"
