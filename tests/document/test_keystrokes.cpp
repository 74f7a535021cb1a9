// Typing into a document window through real key events. Fast typing: in any
// order of presses and releases the text is that of one key at a time; after
// the caret moves by anything but typing, the next key starts a word.
#include "form_fixture.h"
#include "../engine/typed_words.h"

#include <QTextBlock>
#include <functional>
#include <memory>
#include <QTextCursor>

namespace {

void send(QWidget* box, bool press, char c, bool autoRepeat = false)
{
    // Qt's codes for letters, digits and the blank are their upper-case ASCII.
    const Qt::KeyboardModifiers mods = std::isupper(uchar(c)) ? Qt::ShiftModifier : Qt::NoModifier;
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, std::toupper(uchar(c)), mods, QString(QChar(c)),
                    autoRepeat);
    QApplication::sendEvent(box, &event);
}

// Each key goes down before the one `overlap` keys back comes up; a repeated
// letter comes up before it goes down again, as on a keyboard.
void rolled(QWidget* box, const QByteArray& keys, int overlap)
{
    QByteArray down;
    for (const char k : keys) {
        if (down.contains(k)) {
            send(box, false, k);
            down.remove(down.indexOf(k), 1);
        }
        send(box, true, k);
        down += k;
        for (; down.size() > overlap; down.remove(0, 1))
            send(box, false, down[0]);
    }
    for (const char k : down)
        send(box, false, k);
}

QTextCharFormat formatAt(tk::document::RichTextBox* box, int position)
{
    QTextCursor c(box->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

} // namespace

class TestKeystrokes : public QObject {
    Q_OBJECT
private slots:
    // The consonant goes in at the press, its dot at the release; a vowel
    // rewrites the letter at its press and does nothing at its release.
    void roadOfOneKeystroke()
    {
        FormFixture f;
        const std::tuple<bool, char, const char*> steps[] = {
            {true, 'k', "f"}, {false, 'k', "f;"}, {true, 'a', "f"}, {false, 'a', "f"}};
        for (const auto& [press, key, text] : steps) {
            press ? QTest::keyPress(f.box(), key) : QTest::keyRelease(f.box(), key);
            QCOMPARE(f.text(), QByteArray(text));
            QCOMPARE(f.state.dotPending, press && key == 'k');
        }
    }

    void ctrlAloneAtReleaseKeepsTheDotWaiting()
    {
        FormFixture f;
        QTest::keyPress(f.box(), 'k');
        QKeyEvent ctrl(QEvent::KeyRelease, Qt::Key_K, Qt::ControlModifier);
        QApplication::sendEvent(f.box(), &ctrl);
        QVERIFY(f.text() == "f" && f.state.dotPending);
        QKeyEvent ctrlShift(QEvent::KeyRelease, Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
        QApplication::sendEvent(f.box(), &ctrlShift);
        QVERIFY(f.text() == "f;" && !f.state.dotPending);
    }

    void switchOffPassesKeysAndFreezesState()
    {
        FormFixture f;
        f.type("k");
        f.convert.setChecked(false);
        QTest::keyPress(f.box(), 't');
        QCOMPARE(f.state.lastKey, 'k');
        f.state.dotPending = true;
        QTest::keyRelease(f.box(), 't');
        QVERIFY(f.text() == "f;t" && f.state.dotPending);
        QCOMPARE(f.type("ha"), QByteArray("f;tha"));
        QCOMPARE(f.state.lastKey, 'k');
    }

    void newWindowResetsKeyMemory()
    {
        FormFixture f;
        f.type("k");
        std::unique_ptr<tk::document::Form1> second(f.newForm());
        QTest::keyClicks(second->RichTextBox1, QStringLiteral("a"));
        QCOMPARE(second->RichTextBox1->Text(), QStringLiteral("m"));
    }

    // \x1a is Ctrl+Z; a non-ASCII character comes as a keyboard layout or an
    // input method gives it, with no key code. (Typing over a selection: caret tests.)
    void keysInTheWindow()
    {
        const std::pair<const char16_t*, const char*> rows[] = {
            {u"kaa\x1a", "f"}, {u"kaa\x1a\x1a", "f;"}, {u"kaa\x1a\x1a\x1a", ""}, // one undo step per key
            {u"ka\rka\ta", "f\nf\tm"},       // Enter and Tab keep their effect, and a word starts after them
            {u"k\ba", "fm"},                 // Backspace takes the dot; a word starts after it
            {u"k\u0B95a", "f;\u0B95m"},      // a character without a code passes; a word starts after it
        };
        QStringList got, expected;
        for (const auto& [row, text] : rows) {
            FormFixture f;
            for (const QChar c : QString::fromUtf16(row)) {
                if (c == u'\x1a') {
                    f.undo();
                } else if (c.unicode() > 127) {
                    for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                        QKeyEvent event(type, 0, Qt::NoModifier, QString(c));
                        QApplication::sendEvent(f.box(), &event);
                    }
                } else {
                    QTest::keyClick(f.box(), char(c.unicode()));
                }
            }
            got << QString::fromUtf16(row) + QStringLiteral(" -> ") + f.box()->Text();
            expected << QString::fromUtf16(row) + QStringLiteral(" -> ") + QString::fromUtf8(text);
        }
        QCOMPARE(got, expected);
    }

    void boldConsonantStaysBold()
    {
        FormFixture f;
        f.box()->SetSelBold(true);
        QCOMPARE(f.type("k"), QByteArray("f;"));
        QCOMPARE(f.box()->SelBold(), std::optional(true));
        QCOMPARE(f.type("ee"), QByteArray("fP"));
        QVERIFY(formatAt(f.box(), 0).fontWeight() == QFont::Bold && formatAt(f.box(), 1).fontWeight() == QFont::Bold);
    }

    void recallWithCtrlShiftLetter()
    {
        const int cs = Qt::ControlModifier | Qt::ShiftModifier;
        const struct { Qt::Key key; int modifiers; bool selectAll; const char* expected; } rows[] = {
            {Qt::Key_A, cs, false, "xyjkpo;"},                  // at the caret
            {Qt::Key_A, cs, true, "jkpo;"},                     // over a selection
            {Qt::Key_A, cs | Qt::AltModifier, false, "xyjkpo;"},
            {Qt::Key_B, cs, true, ""},                          // nothing stored deletes the selection
            {Qt::Key_B, cs, false, "xy"},
            {Qt::Key_7, cs, true, "xy"},                        // digits are not recalled
            {Qt::Key_A, Qt::ControlModifier, true, "xy"},
        };
        QStringList got, expected;
        for (const auto& row : rows) {
            FormFixture f;
            f.remember(QStringLiteral("a"), QStringLiteral("jkpo;"));
            f.remember(QStringLiteral("7"), QStringLiteral("zzz"));
            f.box()->SetText(QStringLiteral("xy"));
            row.selectAll ? f.box()->selectAll() : f.box()->moveCursor(QTextCursor::End);
            QTest::keyClick(f.box(), row.key, Qt::KeyboardModifiers(row.modifiers));
            got << f.box()->Text();
            expected << row.expected;
        }
        QCOMPARE(got, expected);
    }

    // Typed text takes the look of the text before it, in the family the switch
    // wants ("Latin font" from the settings file); the text after keeps its own.
    void typedTextTakesTheTypingFont()
    {
        const struct { const char* family; bool tamil; const char* setting; const char* typed; } rows[] = {
            {"Noto Sans", true, "", "Kolvani"},     {"Nelpari", true, "", "Nelpari"},
            {"Kolvani", false, "", "Noto Sans"},    {"Nelpari", false, "DejaVu Serif", "DejaVu Serif"},
            {"DejaVu Sans", false, "DejaVu Serif", "DejaVu Sans"},
        };
        for (const auto& row : rows) {
            FormFixture f;
            f.remember(QStringLiteral("Latin font"), QString::fromLatin1(row.setting));
            f.convert.setChecked(!row.tamil); // the switch is read when it changes
            f.convert.setChecked(row.tamil);
            QVERIFY(f.box()->SetTextRTF(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 %1;}{\\f1 DejaVu Sans;}}{\\colortbl;\\red255"
                                                       "\\green0\\blue0;\\red0\\green0\\blue255;}{\\f0\\b\\fs40\\cf1 xy}"
                                                       "{\\f1\\i\\fs24\\cf2 zw}}").arg(row.family)));
            f.box()->SetSelStart(2);
            f.type(row.tamil ? "kaa" : "Hi");
            QStringList looks;
            for (int i = 0; i < 6; ++i) {
                const QTextCharFormat c = formatAt(f.box(), i);
                looks << QStringLiteral("%1 %2 %3 %4 %5").arg(c.fontFamilies().toStringList().value(0), c.foreground().color().name())
                             .arg(c.fontWeight()).arg(c.fontPointSize()).arg(c.fontItalic());
            }
            const QString old = QStringLiteral("%1 #ff0000 700 20 0").arg(row.family);
            const QString typed = QStringLiteral("%1 #ff0000 700 20 0").arg(row.typed);
            const QString after = QStringLiteral("DejaVu Sans #0000ff 400 12 1");
            QCOMPARE(looks, (QStringList{old, old, typed, typed, after, after}));
        }
    }

    void anyOrderOfPressAndRelease_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<int>("overlap"); // -1: all down, then up in the opposite order
        QTest::addColumn<QByteArray>("codes");
        for (const TypedWord& w : typedWords) {
            for (int overlap : {0, 1, 2, 3})
                QTest::addRow("%s, %d down", w.keys, overlap) << QByteArray(w.keys) << overlap << QByteArray(w.codes);
            if (QByteArrayList{"vanakkam", "thamiz", "kshaa"}.contains(w.keys))
                QTest::addRow("%s, releases reversed", w.keys) << QByteArray(w.keys) << -1 << QByteArray(w.codes);
        }
    }

    void anyOrderOfPressAndRelease()
    {
        QFETCH(QByteArray, keys);
        QFETCH(int, overlap);
        QFETCH(QByteArray, codes);
        FormFixture f;
        if (overlap >= 0) {
            rolled(f.box(), keys, overlap);
        } else {
            for (const char k : keys)
                send(f.box(), true, k);
            for (auto k = keys.crbegin(); k != keys.crend(); ++k)
                send(f.box(), false, *k);
        }
        QCOMPARE(f.text(), codes);
        QVERIFY(!f.state.dotPending);
    }

    // A held key repeats as presses alone, or as release-and-press pairs as X11
    // gives them: either way the same text as typing it four times.
    void autoRepeatTypesTheKeyAgain()
    {
        for (const bool x11Pairs : {false, true}) {
            for (const auto& [before, held] : {std::pair{"a", 'k'}, std::pair{"k", 'a'}, std::pair{"ka", ' '}}) {
                FormFixture oneByOne;
                const QByteArray expected = oneByOne.type((before + QByteArray(4, held)).constData());
                FormFixture f;
                f.type(before);
                send(f.box(), true, held);
                for (int i = 0; i < 3; ++i) {
                    if (x11Pairs)
                        send(f.box(), false, held, true);
                    send(f.box(), true, held, true);
                }
                send(f.box(), false, held);
                QCOMPARE(f.text(), expected);
            }
        }
    }

    // " thamiz" typed on the first line, a move, then "amma".
    void movingTheCaretStartsAWord()
    {
        const std::pair<const char*, const char*> rows[] = {
            {"Down, Home", " jkpo;\nmk;kxy"}, {"Ctrl+End", " jkpo;\nxymk;k"}, {"Left, Right", " jkpo;mk;k\nxy"},
            {"Home", "mk;k jkpo;\nxy"}, {"click", " jkpo;\nmk;kxy"}, {"Ctrl+End, Shift+Home", " jkpo;\nmk;k"},
            {"find", " jkpo;\nmk;k"}, {"Ctrl+Z", " jkpmk;k\nxy"}, {"switch", " jkpo;mk;k\nxy"},
            {"recall", " jkpo;fz;mk;k\nxy"}, {"", " jkpok;k\nxy"}, // no move: the word goes on
        };
        QStringList got, expected;
        for (const auto& [move, text] : rows) {
            FormFixture f;
            tk::document::RichTextBox* box = f.box();
            f.setText(QStringLiteral("|\nxy"));
            QCOMPARE(f.type(" thamiz"), QByteArray(" jkpo;\nxy"));
            const QTextBlock second = box->document()->lastBlock();
            if (move == QByteArray("click")) {
                QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->cursorRect(QTextCursor(second)).center() - QPoint(2, 0));
            } else if (move == QByteArray("find")) {
                QCOMPARE(box->Find(QStringLiteral("xy")), second.position());
            } else if (move == QByteArray("switch")) {
                std::unique_ptr<tk::document::Form1> other(f.newForm());
                other->Form_GotFocus();
                QTest::keyClicks(other->RichTextBox1, QStringLiteral("ka"));
                f.form->Form_GotFocus();
            } else if (move == QByteArray("recall")) {
                f.remember(QStringLiteral("k"), QStringLiteral("fz;"));
                QTest::keyClick(box, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
            } else {
                QTest::keySequence(box, QKeySequence(QString::fromLatin1(move)));
            }
            got << move + QStringLiteral(": ") + f.type("amma");
            expected << move + QStringLiteral(": ") + text;
        }
        QCOMPARE(got, expected);
    }

    // The dot of a held consonant goes after it, never where the caret has gone:
    // written first on a click or a moving key, dropped on a command's move.
    void heldConsonantsDotStaysWithIt()
    {
        FormFixture f;
        tk::document::RichTextBox* box = f.box();
        box->SetText(QStringLiteral("\nxy"));
        const std::function<void()> moves[] = {
            [&] { QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
                                    box->cursorRect(QTextCursor(box->document()->lastBlock())).center()); },
            [&] { QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier); },
            [&] { box->SetSelStart(box->Text().size()); },
        };
        QByteArrayList got;
        for (const auto& move : moves) {
            box->SetSelStart(0);
            send(box, true, 'k');
            move();
            send(box, false, 'k');
            got << f.text();
        }
        QCOMPARE(got, (QByteArrayList{"f;\nxy", "f;f;\nxy", "ff;f;\nxy"}));
        QVERIFY(!f.state.dotPending);
    }
};

QTEST_MAIN(TestKeystrokes)
#include "test_keystrokes.moc"
