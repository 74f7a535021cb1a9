// Typing into a document window through real key events: the road of one
// keystroke, the switch, undo, formatting and recalling words. Fast typing:
// whatever order keys go down and come up in, the text is that of one key at
// a time; after the caret moves by anything but typing, the next key starts
// a word where the caret now is.
#include "form_fixture.h"
#include "../engine/typed_words.h"
#include "../support/test_files.h"

#include <QTextBlock>
#include <QTextCursor>

using tk::document::RichTextBox;

namespace {

struct Event {
    bool press;
    char key;
};

void send(QWidget* box, const Event& e, bool autoRepeat = false)
{
    const char c = e.key;
    const int code = c >= 'a' && c <= 'z' ? Qt::Key_A + (c - 'a')
                     : c >= 'A' && c <= 'Z' ? Qt::Key_A + (c - 'A')
                     : c >= '0' && c <= '9' ? Qt::Key_0 + (c - '0')
                                            : c == ' ' ? Qt::Key_Space : 0;
    const Qt::KeyboardModifiers mods = c >= 'A' && c <= 'Z' ? Qt::ShiftModifier : Qt::NoModifier;
    QKeyEvent event(e.press ? QEvent::KeyPress : QEvent::KeyRelease, code, mods, QString(QChar(c)), autoRepeat);
    QApplication::sendEvent(box, &event);
}

// Keys in order, each going down before the one `overlap` keys back comes
// up (0: one key at a time). A key is never down twice: a repeated letter
// comes up before it goes down again, as on a keyboard.
std::vector<Event> rolled(const QByteArray& keys, int overlap)
{
    std::vector<Event> events;
    std::vector<char> down;
    for (const char k : keys) {
        if (std::find(down.begin(), down.end(), k) != down.end()) {
            events.push_back({false, k});
            down.erase(std::find(down.begin(), down.end(), k));
        }
        events.push_back({true, k});
        down.push_back(k);
        while (int(down.size()) > overlap) {
            events.push_back({false, down.front()});
            down.erase(down.begin());
        }
    }
    for (const char k : down)
        events.push_back({false, k});
    return events;
}

} // namespace

class TestKeystrokes : public QObject {
    Q_OBJECT
private slots:
    void roadOfOneKeystroke();
    void ctrlAloneAtReleaseKeepsTheDotWaiting();
    void switchOffPassesKeysAndFreezesState();
    void newWindowResetsKeyMemory();
    void keysInTheWindow_data();
    void keysInTheWindow();
    void boldConsonantStaysBold();
    void recallWithCtrlShiftLetter_data();
    void recallWithCtrlShiftLetter();
    void typedTextTakesTheTypingFont_data();
    void typedTextTakesTheTypingFont();
    void anyOrderOfPressAndRelease_data();
    void anyOrderOfPressAndRelease();
    void autoRepeatTypesTheKeyAgain_data();
    void autoRepeatTypesTheKeyAgain();
    void movingTheCaretStartsAWord_data();
    void movingTheCaretStartsAWord();
    void heldConsonantsDotStaysWithIt();
};

// The consonant goes in at the press, its dot at the release; a vowel
// rewrites the letter at its press and does nothing at its release.
void TestKeystrokes::roadOfOneKeystroke()
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

void TestKeystrokes::ctrlAloneAtReleaseKeepsTheDotWaiting()
{
    FormFixture f;
    auto release = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(f.box(), &event);
    };
    QTest::keyPress(f.box(), 'k');
    release(Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(f.text(), QByteArray("f"));
    QVERIFY(f.state.dotPending);
    // Ctrl with Shift is not Ctrl alone.
    release(Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.text(), QByteArray("f;"));
    QVERIFY(!f.state.dotPending);
}

void TestKeystrokes::switchOffPassesKeysAndFreezesState()
{
    FormFixture f;
    f.type("k");
    f.convert.setChecked(false);
    QTest::keyPress(f.box(), 't');
    QCOMPARE(f.state.lastKey, 'k');
    f.state.dotPending = true;
    QTest::keyRelease(f.box(), 't');
    QCOMPARE(f.text(), QByteArray("f;t"));
    QVERIFY(f.state.dotPending);
    QCOMPARE(f.type("ha"), QByteArray("f;tha"));
    QCOMPARE(f.state.lastKey, 'k');
}

void TestKeystrokes::newWindowResetsKeyMemory()
{
    FormFixture f;
    f.type("k");
    QPointer<tk::document::Form1> second = f.newForm();
    QTest::keyClicks(second->RichTextBox1, QStringLiteral("a"));
    QCOMPARE(second->RichTextBox1->Text(), QStringLiteral("m"));
    delete second.data();
}

void TestKeystrokes::keysInTheWindow_data()
{
    QTest::addColumn<QString>("keys"); // \x1a is Ctrl+Z; xyz is selected first when the row starts with "|"
    QTest::addColumn<QString>("text");
    QTest::newRow("one undo step per key: the vowel") << "kaa\x1a" << "f";
    QTest::newRow("one undo step per key: the dot") << "kaa\x1a\x1a" << "f;";
    QTest::newRow("one undo step per key: all") << "kaa\x1a\x1a\x1a" << "";
    QTest::newRow("the code replaces the selection") << "|k" << "f;z";
    QTest::newRow("Enter and Tab keep their effect; a vowel after Tab starts a word") << "ka\rka\ta" << "f\nf\tm";
    // Backspace takes the dot, and the next vowel starts a word.
    QTest::newRow("a vowel after Backspace starts a word") << "k\ba" << "fm";
    QTest::newRow("a character without a code passes, and a word starts after it") << "k\u0B95a" << "f;\u0B95m";
}

void TestKeystrokes::keysInTheWindow()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);
    FormFixture f;
    if (keys.startsWith(u'|')) {
        f.box()->SetText(QStringLiteral("xyz"));
        select(f.box(), 0, 2);
        keys.remove(0, 1);
    }
    for (const QChar c : keys) {
        if (c == u'\x1a') {
            QTest::keyClick(f.box(), Qt::Key_Z, Qt::ControlModifier);
        } else if (c.unicode() > 127) { // as a keyboard layout or input method gives it
            for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent event(type, 0, Qt::NoModifier, QString(c));
                QApplication::sendEvent(f.box(), &event);
            }
        } else {
            QTest::keyClick(f.box(), char(c.unicode()));
        }
    }
    QCOMPARE(f.box()->Text(), text);
}

namespace {

QTextCharFormat formatAt(RichTextBox* box, int position)
{
    QTextCursor c(box->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

void formatRange(RichTextBox* box, int from, int to, const QTextCharFormat& format)
{
    QTextCursor c(box->document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    c.mergeCharFormat(format);
}

} // namespace

void TestKeystrokes::boldConsonantStaysBold()
{
    FormFixture f;
    f.box()->SetSelBold(true);
    QCOMPARE(f.type("k"), QByteArray("f;"));
    QCOMPARE(f.box()->SelBold(), std::optional(true));
    QCOMPARE(f.type("ee"), QByteArray("fP"));
    for (int i : {0, 1})
        QVERIFY(formatAt(f.box(), i).fontWeight() == QFont::Bold);
}

void TestKeystrokes::recallWithCtrlShiftLetter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("expected");
    const int cs = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("at the caret") << int(Qt::Key_A) << cs << false << "xyjkpo;";
    QTest::newRow("over a selection") << int(Qt::Key_A) << cs << true << "jkpo;";
    QTest::newRow("alt held too") << int(Qt::Key_A) << (cs | int(Qt::AltModifier)) << false << "xyjkpo;";
    QTest::newRow("nothing stored deletes the selection") << int(Qt::Key_B) << cs << true << "";
    QTest::newRow("nothing stored, no selection") << int(Qt::Key_B) << cs << false << "xy";
    QTest::newRow("digit ignored") << int(Qt::Key_7) << cs << true << "xy";
    QTest::newRow("ctrl alone") << int(Qt::Key_A) << int(Qt::ControlModifier) << true << "xy";
}

void TestKeystrokes::recallWithCtrlShiftLetter()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, selectAll);
    QFETCH(QString, expected);
    FormFixture f;
    tk::memory::CreateKey(QStringLiteral("tamilkalvem"));
    tk::memory::WriteValue(QStringLiteral("tamilkalvem"), QStringLiteral("a"), QStringLiteral("jkpo;"));
    tk::memory::WriteValue(QStringLiteral("tamilkalvem"), QStringLiteral("7"), QStringLiteral("zzz"));
    f.box()->SetText(QStringLiteral("xy"));
    f.box()->moveCursor(QTextCursor::End);
    if (selectAll)
        f.box()->selectAll();
    QTest::keyClick(f.box(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.box()->Text(), expected);
}

void TestKeystrokes::typedTextTakesTheTypingFont_data()
{
    QTest::addColumn<QString>("family");  // of the text at the caret
    QTest::addColumn<bool>("tamil");      // Tamil typing on
    QTest::addColumn<QString>("setting"); // "Latin font" in the settings file
    QTest::addColumn<QString>("typed");   // the family typed text goes in
    QTest::newRow("Tamil typing after Latin text") << "Noto Sans" << true << "" << "Kolvani";
    QTest::newRow("Tamil typing in Nelpari") << "Nelpari" << true << "" << "Nelpari";
    QTest::newRow("Latin typing after Tamil text") << "Kolvani" << false << "" << "Noto Sans";
    QTest::newRow("Latin typing, the font set") << "Nelpari" << false << "DejaVu Serif" << "DejaVu Serif";
    QTest::newRow("Latin typing after Latin text") << "DejaVu Sans" << false << "DejaVu Serif" << "DejaVu Sans";
}

// Typed text takes the look of the text before it (the family as the
// switch wants it); the text on both sides keeps its own.
void TestKeystrokes::typedTextTakesTheTypingFont()
{
    QFETCH(QString, family);
    QFETCH(bool, tamil);
    QFETCH(QString, setting);
    QFETCH(QString, typed);
    FormFixture f;
    tk::memory::CreateKey(QStringLiteral("tamilkalvem"));
    tk::memory::WriteValue(QStringLiteral("tamilkalvem"), QStringLiteral("Latin font"), setting);
    f.convert.setChecked(!tamil); // the switch is read when it changes
    f.convert.setChecked(tamil);
    f.box()->SetText(QStringLiteral("xyzw"));
    QTextCharFormat look, after;
    look.setFontFamilies({family});
    look.setFontWeight(QFont::Bold);
    look.setFontPointSize(20);
    look.setForeground(QColor(Qt::red));
    after.setFontItalic(true);
    after.setForeground(QColor(Qt::blue));
    formatRange(f.box(), 0, 2, look);
    formatRange(f.box(), 2, 4, after);
    f.box()->SetSelStart(2);
    f.type(tamil ? "kaa" : "Hi");
    QCOMPARE(f.box()->Text().size(), 6);
    for (int i : {0, 1, 2, 3}) {
        const QTextCharFormat got = formatAt(f.box(), i);
        QCOMPARE(got.fontFamilies().toStringList().value(0), i < 2 ? family : typed);
        QVERIFY(got.fontWeight() == QFont::Bold && got.fontPointSize() == 20);
        QCOMPARE(got.foreground().color(), QColor(Qt::red));
    }
    for (int i : {4, 5})
        QVERIFY(formatAt(f.box(), i).fontItalic() && formatAt(f.box(), i).foreground().color() == QColor(Qt::blue));
}

void TestKeystrokes::anyOrderOfPressAndRelease_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<int>("overlap"); // -1: all down, then up in the opposite order
    QTest::addColumn<QByteArray>("codes");
    for (const TypedWord& w : typedWords) {
        for (int overlap : {0, 1, 2, 3})
            QTest::addRow("%s, %d down", w.keys, overlap) << QByteArray(w.keys) << overlap << QByteArray(w.codes);
        // A repeated letter cannot be held twice, but every press still
        // comes before its own release.
        if (QByteArrayList{"vanakkam", "thamiz", "kshaa"}.contains(w.keys))
            QTest::addRow("%s, releases reversed", w.keys) << QByteArray(w.keys) << -1 << QByteArray(w.codes);
    }
}

void TestKeystrokes::anyOrderOfPressAndRelease()
{
    QFETCH(QByteArray, keys);
    QFETCH(int, overlap);
    QFETCH(QByteArray, codes);
    FormFixture f;
    if (overlap < 0) {
        for (const char k : keys)
            send(f.box(), {true, k});
        for (auto k = keys.crbegin(); k != keys.crend(); ++k)
            send(f.box(), {false, *k});
    } else {
        for (const Event& e : rolled(keys, overlap))
            send(f.box(), e);
    }
    QCOMPARE(f.text(), codes);
    QVERIFY(!f.state.dotPending);
}

void TestKeystrokes::autoRepeatTypesTheKeyAgain_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<char>("held");
    QTest::addColumn<bool>("x11Pairs"); // repeats as release-and-press pairs, as X11 gives them
    for (bool pairs : {false, true}) {
        QTest::addRow("consonant%s", pairs ? ", pairs" : "") << QByteArray("a") << 'k' << pairs;
        QTest::addRow("vowel%s", pairs ? ", pairs" : "") << QByteArray("k") << 'a' << pairs;
        QTest::addRow("blank%s", pairs ? ", pairs" : "") << QByteArray("ka") << ' ' << pairs;
    }
}

void TestKeystrokes::autoRepeatTypesTheKeyAgain()
{
    QFETCH(QByteArray, before);
    QFETCH(char, held);
    QFETCH(bool, x11Pairs);
    FormFixture oneByOne;
    const QByteArray expected = oneByOne.type((before + QByteArray(4, held)).constData());

    FormFixture f;
    f.type(before.constData());
    send(f.box(), {true, held});
    for (int i = 0; i < 3; ++i) {
        if (x11Pairs)
            send(f.box(), {false, held}, true);
        send(f.box(), {true, held}, true);
    }
    send(f.box(), {false, held});
    QCOMPARE(f.text(), expected);
}

void TestKeystrokes::movingTheCaretStartsAWord_data()
{
    QTest::addColumn<QString>("move");
    QTest::addColumn<QByteArray>("expected");
    // " thamiz" typed on the first line, then the move, then "amma".
    QTest::newRow("down") << "Down, Home" << QByteArray(" jkpo;\nmk;kxy");
    QTest::newRow("ctrl+end") << "Ctrl+End" << QByteArray(" jkpo;\nxymk;k");
    QTest::newRow("left and back") << "Left, Right" << QByteArray(" jkpo;mk;k\nxy");
    QTest::newRow("home") << "Home" << QByteArray("mk;k jkpo;\nxy");
    QTest::newRow("click") << "click" << QByteArray(" jkpo;\nmk;kxy");
    QTest::newRow("selection") << "Ctrl+End, Shift+Home" << QByteArray(" jkpo;\nmk;k");
    QTest::newRow("find") << "find" << QByteArray(" jkpo;\nmk;k");
    QTest::newRow("undo") << "Ctrl+Z" << QByteArray(" jkpmk;k\nxy");
    QTest::newRow("another document") << "switch" << QByteArray(" jkpo;mk;k\nxy");
    QTest::newRow("word recalled from the memory") << "recall" << QByteArray(" jkpo;fz;mk;k\nxy");
    QTest::newRow("no move: the word goes on") << "" << QByteArray(" jkpok;k\nxy");
}

void TestKeystrokes::movingTheCaretStartsAWord()
{
    QFETCH(QString, move);
    QFETCH(QByteArray, expected);
    FormFixture f;
    tk::document::RichTextBox* box = f.box();
    box->SetText(QStringLiteral("\nxy"));
    box->SetSelStart(0);
    f.type(" thamiz");
    QCOMPARE(f.text(), QByteArray(" jkpo;\nxy"));
    const QTextBlock second = box->document()->lastBlock();
    if (move == QLatin1String("click")) {
        QTextCursor at(second);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->cursorRect(at).center() - QPoint(2, 0));
    } else if (move == QLatin1String("find")) {
        QCOMPARE(box->Find(QStringLiteral("xy")), second.position());
    } else if (move == QLatin1String("switch")) {
        QPointer<tk::document::Form1> other = f.newForm();
        other->Form_GotFocus();
        QTest::keyClicks(other->RichTextBox1, QStringLiteral("ka"));
        f.form->Form_GotFocus();
        delete other.data();
    } else if (move == QLatin1String("recall")) {
        tk::memory::CreateKey(QStringLiteral("tamilkalvem"));
        tk::memory::WriteValue(QStringLiteral("tamilkalvem"), QStringLiteral("k"), QStringLiteral("fz;"));
        QTest::keyClick(box, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    } else {
        QTest::keySequence(box, QKeySequence(move));
    }
    f.type("amma");
    QCOMPARE(f.text(), expected);
}

// The dot a held consonant key asks for goes after the consonant, never
// where the caret has gone since.
void TestKeystrokes::heldConsonantsDotStaysWithIt()
{
    FormFixture f;
    tk::document::RichTextBox* box = f.box();
    box->SetText(QStringLiteral("\nxy"));
    box->SetSelStart(0);
    // A click while "k" is held: the dot is written first.
    send(box, {true, 'k'});
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
                      box->cursorRect(QTextCursor(box->document()->lastBlock())).center());
    send(box, {false, 'k'});
    QCOMPARE(f.text(), QByteArray("f;\nxy"));
    // A key that moves the caret while "k" is held: likewise.
    box->SetSelStart(0);
    send(box, {true, 'k'});
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    send(box, {false, 'k'});
    QCOMPARE(f.text(), QByteArray("f;f;\nxy"));
    // Moved by a command while held (no key, no click): the dot is dropped
    // rather than written far from its consonant.
    box->SetSelStart(0);
    send(box, {true, 'k'});
    box->SetSelStart(box->Text().size());
    send(box, {false, 'k'});
    QCOMPARE(f.text(), QByteArray("ff;f;\nxy"));
    QVERIFY(!f.state.dotPending);
}

QTEST_MAIN(TestKeystrokes)
#include "test_keystrokes.moc"
