// Fast typing and moving the caret: whatever order keys go down and come up
// in, the text is that of one key at a time; after the caret moves by
// anything but typing, the next key starts a word where the caret now is.
#include "form_fixture.h"
#include "../engine/typed_words.h"

#include <QTextBlock>

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

class TestRollover : public QObject {
    Q_OBJECT
private slots:
    void anyOrderOfPressAndRelease_data();
    void anyOrderOfPressAndRelease();
    void autoRepeatTypesTheKeyAgain_data();
    void autoRepeatTypesTheKeyAgain();
    void movingTheCaretStartsAWord_data();
    void movingTheCaretStartsAWord();
    void heldConsonantsDotStaysWithIt();
};

void TestRollover::anyOrderOfPressAndRelease_data()
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

void TestRollover::anyOrderOfPressAndRelease()
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

void TestRollover::autoRepeatTypesTheKeyAgain_data()
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

void TestRollover::autoRepeatTypesTheKeyAgain()
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

void TestRollover::movingTheCaretStartsAWord_data()
{
    QTest::addColumn<QString>("move");
    QTest::addColumn<QByteArray>("expected");
    // " thamiz" typed on the first line, then the move, then "amma".
    QTest::newRow("down") << "down" << QByteArray(" jkpo;\nmk;kxy");
    QTest::newRow("ctrl+end") << "ctrl+end" << QByteArray(" jkpo;\nxymk;k");
    QTest::newRow("left and back") << "left right" << QByteArray(" jkpo;mk;k\nxy");
    QTest::newRow("home") << "home" << QByteArray("mk;k jkpo;\nxy");
    QTest::newRow("click") << "click" << QByteArray(" jkpo;\nmk;kxy");
    QTest::newRow("selection") << "select xy" << QByteArray(" jkpo;\nmk;k");
    QTest::newRow("find") << "find" << QByteArray(" jkpo;\nmk;k");
    QTest::newRow("undo") << "undo" << QByteArray(" jkpmk;k\nxy");
    QTest::newRow("another document") << "switch" << QByteArray(" jkpo;mk;k\nxy");
    QTest::newRow("word recalled from the memory") << "recall" << QByteArray(" jkpo;fz;mk;k\nxy");
    QTest::newRow("no move: the word goes on") << "" << QByteArray(" jkpok;k\nxy");
}

void TestRollover::movingTheCaretStartsAWord()
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
    if (move == QLatin1String("down")) {
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Home);
    } else if (move == QLatin1String("ctrl+end")) {
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    } else if (move == QLatin1String("left right")) {
        QTest::keyClick(box, Qt::Key_Left);
        QTest::keyClick(box, Qt::Key_Right);
    } else if (move == QLatin1String("home")) {
        QTest::keyClick(box, Qt::Key_Home);
    } else if (move == QLatin1String("click")) {
        QTextCursor at(second);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->cursorRect(at).center() - QPoint(2, 0));
    } else if (move == QLatin1String("select xy")) {
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
    } else if (move == QLatin1String("find")) {
        QCOMPARE(box->Find(QStringLiteral("xy")), second.position());
    } else if (move == QLatin1String("undo")) {
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
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
    }
    f.type("amma");
    QCOMPARE(f.text(), expected);
}

// The dot a held consonant key asks for goes after the consonant, never
// where the caret has gone since.
void TestRollover::heldConsonantsDotStaysWithIt()
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

QTEST_MAIN(TestRollover)
#include "test_rollover.moc"
