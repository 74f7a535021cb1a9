// The key map, row by row: the text before the caret, the two keys before the
// key, the key, and what the mapper leaves in the text, returns and whether it
// asks for the dot. Worked out by hand from the key map's table, quirks and
// all (a vowel after "r"/"t" exchanges the two r codes).
#include "engine_fixture.h"

#include <QTest>

class TestKeyMap : public QObject {
    Q_OBJECT
private slots:
    void mapper_data();
    void mapper();
};

void TestKeyMap::mapper_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<char>("last");
    QTest::addColumn<char>("before");
    QTest::addColumn<char>("key");
    QTest::addColumn<QByteArray>("edited");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<bool>("dot");

    struct Row { const char* text; char last, before, key; const char* edited; const char* result; bool dot; };
    const Row rows[] = {
        // "a"
        {"", ' ', '\0', 'a', "", "m", false}, {"xu;", 'r', 'x', 'a', "xw", "", false},
        {"xw;", 'T', 'x', 'a', "xu", "", false}, {"xkm", 'a', ' ', 'a', "xk", "M", false},
        {"xf", 'a', 'k', 'a', "xf", "h", false}, {"xf;", 'k', 'x', 'a', "xf", "", false},
        // "A"
        {"x ", ' ', 'x', 'A', "x ", "M", false}, {"xu;", 'R', 'x', 'A', "xwh", "", false},
        {"xf;", 'k', 'x', 'A', "xfh", "", false},
        // "J" and "j" (plain consonants are below)
        {"x", ' ', '\0', 'J', "x", "a", true}, {"x", ' ', '\0', 'j', "x", "[", true},
        // "e" and "E"
        {"", ' ', '\0', 'e', "", "v", false}, {"xnf", 'e', 'k', 'e', "xf", "P", false},
        {"xNf", 'E', 'k', 'e', "xf", "P", false}, {"xu;", 'r', 'x', 'e', "xnw", "", false},
        {"xf;", 'k', 'x', 'e', "xnf", "", false}, {"", ' ', '\0', 'E', "", "V", false},
        {"xnf", 'e', 'k', 'E', "xP", "f", false}, {"xw;", 't', 'x', 'E', "xNu", "", false},
        {"xf;", 'k', 'x', 'E', "xNf", "", false},
        // "g" and "n"
        {"xd;", 'n', 'a', 'g', "x", "q", true}, {"xd;", 'n', 'a', 'G', "x", "q", true},
        {"x", 'a', 'k', 'g', "x", "f", true}, {"", ' ', '\0', 'n', "", "e", true},
        {"xf;", 'g', 'a', 'n', "x", "Q", true}, {"x", 'a', 'k', 'n', "x", "d", true},
        {"", ' ', '\0', 'N', "", "e", true}, {"x", 'a', 'k', 'N', "x", "z", true},
        // "h" and "H"
        {"xd;f;", 'c', 'n', 'h', "x", "Q", true}, {"xz;f;", 'c', 'N', 'h', "x", "Q", true},
        {"xf;f;", 'c', 'k', 'h', "xf;", "r", true}, {"xd;w;", 't', 'n', 'h', "x", "e", true},
        {"xw;", 'T', 'a', 'h', "x", "j", true}, {"xl;", 'd', 'a', 'h', "x", "j", true},
        {"xr;", 's', 'a', 'h', "x", "~", true}, {"x ", ' ', 'x', 'h', "x ", "`", true},
        {"xf;", 'k', 'x', 'h', "xf;", "", false}, {"xr;", 's', 'a', 'H', "xr;", "~", true},
        {"xf;", 'c', 'a', 'H', "x", "r", true},
        // "i" and "I"
        {"", ' ', '\0', 'i', "", ",", false}, {"xm", 'a', ' ', 'i', "x", "I", false},
        {"xM", 'A', ' ', 'i', "x", "I", false}, {"xf", 'a', 'k', 'i', "xi", "f", false},
        {"xu;", 'r', 'x', 'i', "xwp", "", false}, {"xf;", 'k', 'x', 'i', "xfp", "", false},
        {"xl;", 'd', 'x', 'i', "xb", "", false}, {"", ' ', '\0', 'I', "", "<", false},
        {"xm", 'a', ' ', 'I', "x", "I", false}, {"xfh", 'A', 'k', 'I', "xi", "f", false},
        {"xw;", 't', 'x', 'I', "xuP", "", false}, {"xl;", 'd', 'x', 'I', "xB", "", false},
        // "o" and "O"
        {"", ' ', '\0', 'o', "", "x", false}, {"xnfh", 'o', 'k', 'o', "x", "$", false},
        {"xNjh", 'O', 't', 'o', "x", "J", false}, {"xu;", 'r', 'x', 'o', "xnwh", "", false},
        {"xf;", 'k', 'x', 'o', "xnfh", "", false}, {"", ' ', '\0', 'O', "", "X", false},
        {"xnyh", 'o', 'l', 'O', "x", "Y", false}, {"xw;", 'T', 'x', 'O', "xNuh", "", false},
        {"xf;", 'k', 'x', 'O', "xNfh", "", false},
        // "q", "Q", "t"
        {"x", 'a', 'k', 'q', "x", "=", false}, {"x", 'a', 'k', 'Q', "x", "/", false},
        {"", ' ', '\0', 't', "", "j", true}, {"x", 'a', 'k', 't', "x", "w", true},
        {"", ' ', '\0', 'T', "", "j", true}, {"x", 'a', 'k', 'T', "x", "w", true},
        // "u" and "U"
        {"m x", 'o', ' ', 'u', "m xs", "", false}, {"m X", 'O', ' ', 'u', "m xs", "", false},
        {"xnfh", 'o', 'k', 'u', "xnfs", "", false}, {"", ' ', '\0', 'u', "", "c", false},
        {"xu;", 'r', 'x', 'u', "xW", "", false}, {"xf;", 'k', 'x', 'u', "xF", "", false},
        {"x[;", 'j', 'x', 'u', "x[{", "", false}, {"", ' ', '\0', 'U', "", "C", false},
        {"xu;", 'r', 'x', 'U', "xW}", "", false}, {"xf;", 'k', 'x', 'U', "x$", "", false},
        {"xg;", 'p', 'x', 'U', "xG+", "", false},
        // everything else passes through
        {"x", 'a', 'k', '7', "x", "7", false}, {"x", 'a', 'k', '?', "x", "?", false},
        {"x", 'a', 'k', ' ', "x", " ", false}, {"x", 'a', 'k', '\r', "x", "\r", false},
        {"x", 'a', 'k', '\xe9', "x", "\xe9", false},
    };
    for (const Row& r : rows)
        QTest::addRow("'%c' after %c%c \"%s\"", r.key, r.before, r.last, r.text)
            << QByteArray(r.text) << r.last << r.before << r.key << QByteArray(r.edited) << QByteArray(r.result) << r.dot;
    // Plain consonants: each key and the code it writes, after a consonant or inside a word.
    const auto consonants = [](char last, char before, const char* pairs) {
        for (const char* p = pairs; *p; p += 2)
            QTest::addRow("%c", p[0]) << QByteArray("x") << last << before << p[0] << QByteArray("x") << QByteArray(1, p[1]) << true;
    };
    consonants('k', 'x', "bgBgpgPgfgFg");
    consonants('a', 'k', "cfCfdlDlkfKflyLsmkMkruRusrSrvtVtwtWtxeXeyaYazoZ]");
}

void TestKeyMap::mapper()
{
    QFETCH(QByteArray, text);
    QFETCH(char, last);
    QFETCH(char, before);
    QFETCH(char, key);
    QFETCH(QByteArray, edited);
    QFETCH(QByteArray, result);
    QFETCH(bool, dot);

    // Once with no dot asked for, once with one: a key never clears it.
    for (const bool pending : {false, true}) {
        EngineFixture f(text);
        f.state = {last, before, pending, 0};
        const std::string out = f.engine.w(key);
        QCOMPARE(f.text(), edited);
        QCOMPARE(QByteArray::fromStdString(out), result);
        QCOMPARE(f.state.dotPending, dot || pending);
        QCOMPARE(f.state.lastKey, last); // the mapper never moves the memory itself
    }
}

QTEST_GUILESS_MAIN(TestKeyMap)
#include "test_key_map.moc"
