// Re-typing a text through the engine: the key memory moves on as in
// typing, each character goes through the mapper in order, characters
// without an 8-bit code are kept.
#include "conversion/replay.h"

#include <QTest>

using namespace tk;

class TestReplay : public QObject {
    Q_OBJECT
private slots:
    void keyMemoryMovesOn_data();
    void keyMemoryMovesOn();
    void eachCharacterThroughTheMapperInOrder();
    void cancelStopsEarly();
};

void TestReplay::keyMemoryMovesOn_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<char>("keyBefore");
    QTest::addColumn<char>("lastKey");
    QTest::newRow("two letters") << "ka" << 'k' << 'a';
    QTest::newRow("digit seven") << "k7" << 'k' << '7';
    QTest::newRow("digit zero") << "k0" << 'k' << ' ';
    QTest::newRow("blank") << "k " << 'k' << ' ';
    QTest::newRow("control character") << "k\x01" << 'k' << ' ';
    QTest::newRow("code 128") << QStringLiteral("k") + QChar(0x80) << 'k' << ' ';
    QTest::newRow("line break") << "k\r\n" << ' ' << ' ';
    QTest::newRow("zero then letter") << "0a" << ' ' << 'a';
    QTest::newRow("beyond 8 bits ends the word") << QStringLiteral("k\u2014") << 'k' << ' ';
}

void TestReplay::keyMemoryMovesOn()
{
    QFETCH(QString, source);
    QFETCH(char, keyBefore);
    QFETCH(char, lastKey);
    engine::EngineState state;
    engine::DocumentState members;
    conversion::DocumentTypist typist(state, members, source);
    QVERIFY(conversion::replay(source, typist, state));
    QCOMPARE(state.keyBefore, keyBefore);
    QCOMPARE(state.lastKey, lastKey);
    QVERIFY(!state.dotPending);
}

static QString replayed(const QString& source)
{
    engine::EngineState state;
    engine::DocumentState members;
    conversion::DocumentTypist typist(state, members, source);
    return conversion::replay(source, typist, state) ? typist.text() : QStringLiteral("<cancelled>");
}

void TestReplay::eachCharacterThroughTheMapperInOrder()
{
    // k and t are consonants (t after a vowel is the r-t key: ற): their
    // code, then the dot. a after a consonant is swallowed, the letter
    // rewritten in place.
    QCOMPARE(replayed(QStringLiteral("kat")), QStringLiteral("fw;"));
    // Characters without an 8-bit code are kept as they are, in place.
    QCOMPARE(replayed(QStringLiteral("ka\u2014ka \u0B85\x01")), QStringLiteral("f\u2014f \u0B85\x01"));
}

void TestReplay::cancelStopsEarly()
{
    engine::EngineState state;
    engine::DocumentState members;
    const QString source(200000, u'k');
    conversion::DocumentTypist typist(state, members, source);
    int calls = 0;
    QVERIFY(!conversion::replay(source, typist, state, [&](double) { return ++calls < 2; }));
    QVERIFY(calls == 2);
    QVERIFY(typist.text().size() < 2 * source.size());
}

QTEST_MAIN(TestReplay)
#include "test_replay.moc"
