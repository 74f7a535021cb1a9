// Whole words typed key by key and fed as text, and the engine's invariants
// under arbitrary input.
#include "engine_fixture.h"
#include "typed_words.h"

#include <QRandomGenerator>
#include <QTest>

class TestTyping : public QObject {
    Q_OBJECT
private slots:
    void words_data();
    void words();
    void randomBytesKeepInvariants();
};

void TestTyping::words_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QByteArray>("codes");

    for (const TypedWord& w : typedWords)
        QTest::newRow(w.keys) << QByteArray(w.keys) << QByteArray(w.codes);
    QTest::newRow("enter") << QByteArray("amma\rappa") << QByteArray("mk;k\rmg;g");
    // Text without letter keys passes through as it is.
    QByteArray other;
    for (int c = 1; c < 256; ++c)
        if (!std::isalpha(c))
            other.append(char(c));
    QTest::newRow("no letter keys") << other << other;
}

void TestTyping::words()
{
    QFETCH(QByteArray, keys);
    QFETCH(QByteArray, codes);
    EngineFixture typed, fed;
    QCOMPARE(typeKeys(typed, keys), codes);
    fed.engine.feed(keys.toStdString());
    QCOMPARE(fed.text(), codes);
}

void TestTyping::randomBytesKeepInvariants()
{
    QRandomGenerator rng(20261206);
    for (int round = 0; round < 200; ++round) {
        // Half the rounds mostly type keys, which reach the deeper rows.
        QByteArray input(rng.bounded(1, 400), '\0');
        for (char& c : input)
            c = round % 2 && rng.bounded(4) ? "aAiIeEoOuUkgnthcsrRTdlmp "[rng.bounded(25)] : char(rng.bounded(256));
        EngineFixture fed, typed;
        fed.engine.feed(input.toStdString());
        QCOMPARE(fed.text(), typeKeys(typed, input));
        QVERIFY(!fed.state.dotPending);
        QCOMPARE(fed.surface.caret(), int(fed.surface.size()));
        QVERIFY(fed.surface.size() <= std::size_t(input.size()) * 5);
    }
}

QTEST_GUILESS_MAIN(TestTyping)
#include "test_typing.moc"
