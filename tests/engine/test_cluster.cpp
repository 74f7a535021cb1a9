// The edits at the caret: glyph-order correction, taking a cluster back,
// exchanging the r-t pair, the combined forms, and the memory's update rule.
#include "engine_fixture.h"

#include <QTest>

class TestCluster : public QObject {
    Q_OBJECT
private slots:
    void correct_data();
    void correct();
    void correctNeedsTwoCharacters();
    void pullBack_data();
    void pullBack();
    void swapMark_data();
    void swapMark();
    void stateUpdate_data();
    void stateUpdate();
    void resetKeepsDotAndSignClass();
};

void TestCluster::correct_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("vowel");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("caretAfter");

    auto row = [](const char* name, const char* text, int caret, int g, const char* expected, int after) {
        QTest::newRow(name) << QByteArray(text) << caret << g << QByteArray(expected) << after;
    };
    // Form A: consonant and dot (or a sign) before the caret.
    row("A1 drops the dot", "mf;", 3, 1, "mf", 2);
    row("A2", "mf;", 3, 2, "mfh", 3);
    row("A3", "mf;", 3, 3, "mfp", 3);
    row("A3 l ligature", "ml;", 3, 3, "mb", 2);
    row("A4", "mf;", 3, 4, "mfP", 3);
    row("A4 l ligature", "ml;", 3, 4, "mB", 2);
    row("A2 l takes the ordinary sign", "ml;", 3, 2, "mlh", 3);
    row("A5", "mf;", 3, 5, "mnf", 3);
    row("A6", "mf;", 3, 6, "mNf", 3);
    row("A7", "mf;", 3, 7, "mnfh", 4);
    row("A8", "mf;", 3, 8, "mNfh", 4);
    row("A9 upper case", "mf;", 3, 9, "mF", 2);
    row("A9 non-letter stays", "m$;", 3, 9, "m$", 2);
    row("A10 class 0", "mf;", 3, 10, "m$", 2);
    row("A10 class 1", "mj;", 3, 10, "mJ}", 3);
    row("A10 class 2", "mg;", 3, 10, "mG+", 3);
    row("A10 no combined form", "mq;", 3, 10, "mq", 2);
    row("A replaces an existing sign", "mfp", 3, 4, "mfP", 3);
    row("A n counts as a sign", "mfn", 3, 2, "mfh", 3);
    row("A N counts as a sign", "mfN", 3, 3, "mfp", 3);
    row("A unknown vowel", "mf;", 3, 11, "mf;", 3);
    row("A vowel 0", "mf;", 3, 0, "mf;", 3);
    // Form B: the consonant alone before the caret.
    row("B1 nothing to do", "mf", 2, 1, "mf", 2);
    row("B2", "mf", 2, 2, "mfh", 3);
    row("B3 l ligature", "ml", 2, 3, "mb", 2);
    row("B5", "mf", 2, 5, "mnf", 3);
    row("B8", "mf", 2, 8, "mNfh", 4);
    row("B9", "mf", 2, 9, "mF", 2);
    row("B10 class 1", "mj", 2, 10, "mJ}", 3);
    // Grantha consonants take the u and uu signs behind them, in both forms.
    static const char* const grantha[] = {"[", "~", "\\", "]", "`"};
    for (const char* g : grantha) {
        const QByteArray c(g);
        for (const auto& [vowel, sign] : {std::pair{9, "{"}, std::pair{10, "_"}}) {
            const QByteArray name = "grantha " + c + " vowel " + QByteArray::number(vowel);
            QTest::newRow(name + " A") << "m" + c + ";" << 3 << vowel << "m" + c + sign << 3;
            QTest::newRow(name + " B") << "m" + c << 2 << vowel << "m" + c + sign << 3;
            QTest::newRow(name + " mid") << "m" + c + ";XY" << 3 << vowel << "m" + c + sign + "XY" << 3;
        }
    }
    // Only the cluster at the caret changes.
    row("middle of the text", "mf;XY", 3, 8, "mNfhXY", 4);
    row("earlier pair untouched", "f;mf;", 5, 1, "f;mf", 4);
    row("class 1 mark in the middle", "mj;XY", 3, 10, "mJ}XY", 3);
}

void TestCluster::correct()
{
    QFETCH(QByteArray, text);
    QFETCH(int, caret);
    QFETCH(int, vowel);
    QFETCH(QByteArray, expected);
    QFETCH(int, caretAfter);

    EngineFixture f(text, caret);
    f.engine.correct(static_cast<unsigned>(vowel));
    QCOMPARE(f.text(), expected);
    QCOMPARE(f.surface.caret(), caretAfter);
}

void TestCluster::correctNeedsTwoCharacters()
{
    for (int g = 0; g <= 11; ++g) {
        for (const QByteArray& text : {QByteArray(), QByteArray("f"), QByteArray(";f;")}) {
            const int caret = text.size() == 3 ? 1 : text.size();
            EngineFixture f(text, caret);
            f.engine.correct(static_cast<unsigned>(g));
            QCOMPARE(f.text(), text);
            QCOMPARE(f.surface.caret(), caret);
        }
    }
}

void TestCluster::pullBack_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QByteArray>("held");
    QTest::addColumn<int>("caretAfter");

    auto row = [](const char* name, const char* text, int caret, const char* expected, const char* held, int after) {
        QTest::newRow(name) << QByteArray(text) << caret << QByteArray(expected) << QByteArray(held) << after;
    };
    row("consonant and dot", "xkf;", 4, "xk", "f", 2);
    row("n consonant h", "anfh", 4, "a", "f", 1);
    row("N consonant h", "aNfh", 4, "a", "f", 1);
    row("consonant h", "abfh", 4, "ab", "f", 2);
    row("n consonant", "ynf", 3, "y", "f", 1);
    row("consonant p", "xfp", 3, "x", "f", 1);
    row("consonant P", "xfP", 3, "x", "f", 1);
    row("single code", "abm", 3, "ab", "m", 2);
    row("h wins over n", "nfh", 3, "", "f", 0);
    row("in the middle", "xNfhYZ", 4, "xYZ", "f", 1);
    // The start of the text: only what is there is read and removed.
    row("empty", "", 0, "", "", 0);
    row("one code", "m", 1, "", "m", 0);
    row("consonant and dot only", "f;", 2, "", "f", 0);
    row("lone dot", ";", 1, "", "", 0);
    row("lone h", "h", 1, "", "", 0);
    row("consonant h only", "fh", 2, "", "f", 0);
    row("n consonant only", "nf", 2, "", "f", 0);
    row("caret at start of text", "f;", 0, "f;", "", 0);
}

void TestCluster::pullBack()
{
    QFETCH(QByteArray, text);
    QFETCH(int, caret);
    QFETCH(QByteArray, expected);
    QFETCH(QByteArray, held);
    QFETCH(int, caretAfter);

    EngineFixture f(text, caret);
    f.doc.heldConsonant = "stale";
    f.engine.pullBack();
    QCOMPARE(f.text(), expected);
    QCOMPARE(QByteArray::fromStdString(f.doc.heldConsonant), held);
    QCOMPARE(f.surface.caret(), caretAfter);
}

void TestCluster::swapMark_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("u; to w;") << QByteArray("abu;") << 4 << QByteArray("abw;");
    QTest::newRow("w; to u;") << QByteArray("abw;") << 4 << QByteArray("abu;");
    QTest::newRow("text after caret kept") << QByteArray("abu;cd") << 4 << QByteArray("abw;cd");
    QTest::newRow("never reaches further on") << QByteArray("abw;u;") << 4 << QByteArray("abu;u;");
    QTest::newRow("other pair: nothing") << QByteArray("abk;u;") << 4 << QByteArray("abk;u;");
    QTest::newRow("u without dot") << QByteArray("abxu") << 4 << QByteArray("abxu");
    QTest::newRow("two characters") << QByteArray("u;") << 2 << QByteArray("w;");
    QTest::newRow("one character") << QByteArray(";") << 1 << QByteArray(";");
    QTest::newRow("empty") << QByteArray() << 0 << QByteArray();
}

void TestCluster::swapMark()
{
    QFETCH(QByteArray, text);
    QFETCH(int, caret);
    QFETCH(QByteArray, expected);

    EngineFixture f(text, caret);
    f.engine.swapMark();
    QCOMPARE(f.text(), expected);
    QCOMPARE(f.surface.caret(), caret);
}

void TestCluster::stateUpdate_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<char>("lastKey");

    for (int c : {0, 8, 9, 10, 13, 27, 32, 48, 128})
        QTest::addRow("separator %d", c) << c << ' ';
    for (int c : {int('!'), int('1'), int('7'), int('9'), int('k'), int('A'), int('~'), 127, 129, 255})
        QTest::addRow("key %d", c) << c << char(c);
}

void TestCluster::stateUpdate()
{
    QFETCH(int, typed);
    QFETCH(char, lastKey);

    tk::engine::EngineState state;
    state.lastKey = 'k';
    tk::engine::advance(state, static_cast<unsigned char>(typed));
    QCOMPARE(state.keyBefore, 'k');
    QCOMPARE(state.lastKey, lastKey);
}

void TestCluster::resetKeepsDotAndSignClass()
{
    tk::engine::EngineState state{'a', 'k', true, 2};
    tk::engine::reset(state);
    QCOMPARE(state.lastKey, ' ');
    QCOMPARE(state.keyBefore, '\0');
    QVERIFY(state.dotPending);
    QCOMPARE(int(state.signClass), 2);
}

QTEST_GUILESS_MAIN(TestCluster)
#include "test_cluster.moc"
