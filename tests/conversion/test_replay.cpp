// Re-typing a text through the engine: the key memory moves on as in
// typing, each character goes through the mapper in order with the dot
// after it when the mapper asks for one, and characters without an 8-bit
// code are kept.
#include "conversion/replay.h"

#include <QTest>

using namespace tk;

namespace {

// The document's typist, with every call it receives written down.
class RecordingTypist final : public conversion::Typist {
public:
    RecordingTypist(engine::EngineState& state, QStringView source) : inner(state, members, source) {}
    std::string w(char ch) override
    {
        log << QStringLiteral("w:") + QLatin1Char(ch);
        return inner.w(ch);
    }
    void insert(std::string_view codes) override
    {
        log << QStringLiteral("insert:") + QString::fromLatin1(codes.data(), qsizetype(codes.size()));
        inner.insert(codes);
    }
    void Edit() override
    {
        log << QStringLiteral("Edit");
        inner.Edit();
    }
    void keep(QChar ch) override
    {
        log << QStringLiteral("keep:") + ch;
        inner.keep(ch);
    }
    engine::DocumentState members;
    conversion::DocumentTypist inner;
    QStringList log;
};

} // namespace

class TestReplay : public QObject {
    Q_OBJECT
private slots:
    void keyMemoryMovesOn_data();
    void keyMemoryMovesOn();
    void eachCharacterThroughTheMapperInOrder();
    void charactersWithoutACodeAreKept();
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

void TestReplay::eachCharacterThroughTheMapperInOrder()
{
    // k and t are consonants (t after a vowel is the r-t key: ற): their
    // code, then the dot. a after a consonant is swallowed, the letter
    // rewritten in place.
    engine::EngineState state;
    RecordingTypist typist(state, u"kat");
    QVERIFY(conversion::replay(u"kat", typist, state));
    QCOMPARE(typist.log, (QStringList{"w:k", "insert:f", "Edit", "w:a", "w:t", "insert:w", "Edit"}));
    QCOMPARE(typist.inner.text(), QStringLiteral("fw;"));
}

void TestReplay::charactersWithoutACodeAreKept()
{
    engine::EngineState state;
    const QString source = QStringLiteral("ka\u2014ka \u0B85\x01");
    RecordingTypist typist(state, source);
    QVERIFY(conversion::replay(source, typist, state));
    QCOMPARE(typist.log.filter(QStringLiteral("keep:")), (QStringList{QStringLiteral("keep:\u2014"), QStringLiteral("keep:\u0B85")}));
    QCOMPARE(typist.inner.text(), QStringLiteral("f\u2014f \u0B85\x01"));
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
