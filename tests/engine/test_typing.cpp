// Whole words typed key by key and fed as text, and the engine's invariants
// under arbitrary input.
#include "engine_fixture.h"
#include "typed_words.h"

#include <QRandomGenerator>
#include <QTest>

class TestTyping : public QObject {
    Q_OBJECT
private slots:
    void words()
    {
        // Text without letter keys passes through as it is.
        QByteArray other;
        for (int c = 1; c < 256; ++c)
            if (!std::isalpha(c))
                other.append(char(c));
        std::vector<TypedWord> rows(std::begin(typedWords), std::end(typedWords));
        rows.insert(rows.end(), {{"amma\rappa", "mk;k\rmg;g"}, {other.constData(), other.constData()}});
        for (const TypedWord& w : rows) {
            EngineFixture typed, fed;
            fed.engine.feed(w.keys);
            QCOMPARE(QByteArray(w.keys) + ": " + typeKeys(typed, w.keys) + '|' + fed.text(),
                     QByteArray(w.keys) + ": " + w.codes + '|' + w.codes);
        }
    }

    void randomBytesKeepInvariants()
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
};

QTEST_GUILESS_MAIN(TestTyping)
#include "test_typing.moc"
