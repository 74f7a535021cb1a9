// Typing into a document window through real key events: the road of one
// keystroke, the switch, undo, formatting and recalling words.
#include "form_fixture.h"
#include "../support/test_files.h"

#include <QTextBlock>
#include <QTextCursor>

using tk::document::RichTextBox;

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

QTEST_MAIN(TestKeystrokes)
#include "test_keystrokes.moc"
