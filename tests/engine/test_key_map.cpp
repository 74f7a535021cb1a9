// The key map, row by row: the key, the two keys before it, the text before
// the caret, and what the mapper leaves in the text, returns and asks for.
// Expectations are worked out by hand from the key map's table.
#include "engine_fixture.h"

#include <QTest>

class TestKeyMap : public QObject {
    Q_OBJECT
private slots:
    void mapper_data();
    void mapper();
    void dotStaysPendingOnceSet();
};

void TestKeyMap::mapper_data()
{
    QTest::addColumn<QByteArray>("text");      // before the caret
    QTest::addColumn<QByteArray>("last");      // lastKey ("" for none)
    QTest::addColumn<QByteArray>("before");    // keyBefore ("" for none)
    QTest::addColumn<char>("key");
    QTest::addColumn<QByteArray>("edited");    // the text after the mapper's own edits
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<bool>("dot");

    auto row = [](const char* name, const char* text, const char* last, const char* before, char key,
                  const char* edited, const char* result, bool dot) {
        QTest::newRow(name) << QByteArray(text) << QByteArray(last) << QByteArray(before) << key
                            << QByteArray(edited) << QByteArray(result) << dot;
    };

    // "a"
    row("a word start", "", " ", "", 'a', "", "m", false);
    row("a after r swaps and corrects", "xu;", "r", "x", 'a', "xw", "", false);
    row("a after T swaps back", "xw;", "T", "x", 'a', "xu", "", false);
    row("a after word-initial a", "xkm", "a", " ", 'a', "xk", "M", false);
    row("a after a inside word", "xf", "a", "k", 'a', "xf", "h", false);
    row("a after consonant", "xf;", "k", "x", 'a', "xf", "", false);
    // "A"
    row("A word start", "x ", " ", "x", 'A', "x ", "M", false);
    row("A after R", "xu;", "R", "x", 'A', "xwh", "", false);
    row("A after consonant", "xf;", "k", "x", 'A', "xfh", "", false);
    // plain consonants: each key and the code it writes
    const auto consonants = [](const char* last, const char* before, const char* pairs) {
        for (const char* p = pairs; *p; p += 2)
            QTest::addRow("%c", p[0]) << QByteArray("x") << QByteArray(last) << QByteArray(before) << p[0]
                                      << QByteArray("x") << QByteArray(1, p[1]) << true;
    };
    consonants("k", "x", "bgBgpgPgfgFg");
    consonants("a", "k", "cfCfdlDlkfKflyLsmkMkruRusrSrvtVtwtWtxeXeyaYazoZ]");
    row("J", "x", " ", "", 'J', "x", "a", true);
    row("j", "x", " ", "", 'j', "x", "[", true);
    // "e" and "E"
    row("e word start", "", " ", "", 'e', "", "v", false);
    row("e after e rebuilds with P", "xnf", "e", "k", 'e', "xf", "P", false);
    row("e after E", "xNf", "E", "k", 'e', "xf", "P", false);
    row("e after r", "xu;", "r", "x", 'e', "xnw", "", false);
    row("e after consonant", "xf;", "k", "x", 'e', "xnf", "", false);
    row("E word start", "", " ", "", 'E', "", "V", false);
    row("E after e puts P before", "xnf", "e", "k", 'E', "xP", "f", false);
    row("E after t", "xw;", "t", "x", 'E', "xNu", "", false);
    row("E after consonant", "xf;", "k", "x", 'E', "xNf", "", false);
    // "g" and "n"
    row("g after n", "xd;", "n", "a", 'g', "x", "q", true);
    row("G after n", "xd;", "n", "a", 'G', "x", "q", true);
    row("g otherwise", "x", "a", "k", 'g', "x", "f", true);
    row("n word start", "", " ", "", 'n', "", "e", true);
    row("n after g", "xf;", "g", "a", 'n', "x", "Q", true);
    row("n inside word", "x", "a", "k", 'n', "x", "d", true);
    row("N word start", "", " ", "", 'N', "", "e", true);
    row("N inside word", "x", "a", "k", 'N', "x", "z", true);
    // "h" and "H"
    row("h after nc", "xd;f;", "c", "n", 'h', "x", "Q", true);
    row("h after Nc", "xz;f;", "c", "N", 'h', "x", "Q", true);
    row("h after c", "xf;f;", "c", "k", 'h', "xf;", "r", true);
    row("h after nt", "xd;w;", "t", "n", 'h', "x", "e", true);
    row("h after T", "xw;", "T", "a", 'h', "x", "j", true);
    row("h after d", "xl;", "d", "a", 'h', "x", "j", true);
    row("h after s", "xr;", "s", "a", 'h', "x", "~", true);
    row("h word start", "x ", " ", "x", 'h', "x ", "`", true);
    row("h after k does nothing", "xf;", "k", "x", 'h', "xf;", "", false);
    row("H after s keeps the s", "xr;", "s", "a", 'H', "xr;", "~", true);
    row("H after c", "xf;", "c", "a", 'H', "x", "r", true);
    // "i" and "I"
    row("i word start", "", " ", "", 'i', "", ",", false);
    row("i after word-initial a", "xm", "a", " ", 'i', "x", "I", false);
    row("i after word-initial A", "xM", "A", " ", 'i', "x", "I", false);
    row("i after a inside word", "xf", "a", "k", 'i', "xi", "f", false);
    row("i after r", "xu;", "r", "x", 'i', "xwp", "", false);
    row("i after consonant", "xf;", "k", "x", 'i', "xfp", "", false);
    row("i after d ligature", "xl;", "d", "x", 'i', "xb", "", false);
    row("I word start", "", " ", "", 'I', "", "<", false);
    row("I after word-initial a", "xm", "a", " ", 'I', "x", "I", false);
    row("I after A inside word", "xfh", "A", "k", 'I', "xi", "f", false);
    row("I after t", "xw;", "t", "x", 'I', "xuP", "", false);
    row("I after d ligature", "xl;", "d", "x", 'I', "xB", "", false);
    // "o" and "O"
    row("o word start", "", " ", "", 'o', "", "x", false);
    row("o after o", "xnfh", "o", "k", 'o', "x", "$", false);
    row("o after O", "xNjh", "O", "t", 'o', "x", "J", false);
    row("o after r", "xu;", "r", "x", 'o', "xnwh", "", false);
    row("o after consonant", "xf;", "k", "x", 'o', "xnfh", "", false);
    row("O word start", "", " ", "", 'O', "", "X", false);
    row("O after o", "xnyh", "o", "l", 'O', "x", "Y", false);
    row("O after T", "xw;", "T", "x", 'O', "xNuh", "", false);
    row("O after consonant", "xf;", "k", "x", 'O', "xNfh", "", false);
    // "q", "Q", "t"
    row("q", "x", "a", "k", 'q', "x", "=", false);
    row("Q", "x", "a", "k", 'Q', "x", "/", false);
    row("t word start", "", " ", "", 't', "", "j", true);
    row("t inside word", "x", "a", "k", 't', "x", "w", true);
    row("T word start", "", " ", "", 'T', "", "j", true);
    row("T inside word", "x", "a", "k", 'T', "x", "w", true);
    // "u" and "U"
    row("u after word-initial o", "m x", "o", " ", 'u', "m xs", "", false);
    row("u after word-initial O", "m X", "O", " ", 'u', "m xs", "", false);
    row("u after o inside word", "xnfh", "o", "k", 'u', "xnfs", "", false);
    row("u word start", "", " ", "", 'u', "", "c", false);
    row("u after r", "xu;", "r", "x", 'u', "xW", "", false);
    row("u after consonant", "xf;", "k", "x", 'u', "xF", "", false);
    row("u after grantha takes its sign", "x[;", "j", "x", 'u', "x[{", "", false);
    row("U word start", "", " ", "", 'U', "", "C", false);
    row("U after r (class 1)", "xu;", "r", "x", 'U', "xW}", "", false);
    row("U after consonant (class 0)", "xf;", "k", "x", 'U', "x$", "", false);
    row("U after p (class 2)", "xg;", "p", "x", 'U', "xG+", "", false);
    // everything else passes through
    row("digit", "x", "a", "k", '7', "x", "7", false);
    row("punctuation", "x", "a", "k", '?', "x", "?", false);
    row("space", "x", "a", "k", ' ', "x", " ", false);
    row("enter", "x", "a", "k", '\r', "x", "\r", false);
    row("high byte", "x", "a", "k", '\xe9', "x", "\xe9", false);
}

void TestKeyMap::mapper()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, last);
    QFETCH(QByteArray, before);
    QFETCH(char, key);
    QFETCH(QByteArray, edited);
    QFETCH(QByteArray, result);
    QFETCH(bool, dot);

    EngineFixture f(text);
    f.state.lastKey = last.isEmpty() ? '\0' : last[0];
    f.state.keyBefore = before.isEmpty() ? '\0' : before[0];
    const std::string out = f.engine.w(key);

    QCOMPARE(f.text(), edited);
    QCOMPARE(QByteArray::fromStdString(out), result);
    QCOMPARE(f.state.dotPending, dot);
    // The mapper never moves the memory itself.
    QCOMPARE(f.state.lastKey, last.isEmpty() ? '\0' : last[0]);
}

void TestKeyMap::dotStaysPendingOnceSet()
{
    // Keys that do not ask for the dot never clear one already asked for.
    for (const char key : QByteArray("ah7q ")) {
        EngineFixture f("xf;");
        f.state.lastKey = 'k';
        f.state.dotPending = true;
        f.engine.w(key);
        QVERIFY2(f.state.dotPending, QByteArray(1, key).constData());
    }
}

QTEST_GUILESS_MAIN(TestKeyMap)
#include "test_key_map.moc"
