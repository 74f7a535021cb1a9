// Re-typing a text through the engine: the key memory moves on as in
// typing, each character goes through the mapper in order, characters
// without an 8-bit code are kept.
#include "conversion/replay.h"

#include <QTest>

using namespace tk;

namespace {

// "<cancelled>" if so, the text typed, "|", the key before and the last key
// after it, "." for a dot pending.
QString replayed(const QString& source, const rtf::Progress& progress = {})
{
    engine::EngineState state;
    engine::DocumentState members;
    conversion::DocumentTypist typist(state, members, source);
    const bool done = conversion::replay(source, typist, state, progress);
    return (done ? QString() : QStringLiteral("<cancelled>")) + typist.text()
           + QStringLiteral("|%1%2%3").arg(state.keyBefore).arg(state.lastKey).arg(state.dotPending ? "." : "");
}

} // namespace

class TestReplay : public QObject {
    Q_OBJECT
private slots:
    void keyMemoryMovesOn();
    void eachCharacterThroughTheMapperInOrder();
    void cancelStopsEarly();
};

// Rows: the text, the key before and the last key after it.
void TestReplay::keyMemoryMovesOn()
{
    const QString rows[][2] = {
        {"ka", "ka"}, {"k7", "k7"}, {"k0", "k "}, {"k ", "k "}, {"k\x01", "k "}, // a control character
        {QStringLiteral("k") + QChar(0x80), "k "}, {"k\r\n", "  "}, {"0a", " a"},
        {QStringLiteral("k\u2014"), "k "}, // beyond 8 bits ends the word
    };
    QStringList got, want;
    for (const auto& [source, keys] : rows) {
        got << source + u'=' + replayed(source).section(u'|', -1);
        want << source + u'=' + keys;
    }
    QCOMPARE(got, want);
}

void TestReplay::eachCharacterThroughTheMapperInOrder()
{
    // k and t are consonants (t after a vowel is the r-t key: ற): their
    // code, then the dot. a after a consonant is swallowed, the letter
    // rewritten in place.
    QCOMPARE(replayed(QStringLiteral("kat")), QStringLiteral("fw;|at"));
    // Characters without an 8-bit code are kept as they are, in place.
    QCOMPARE(replayed(QStringLiteral("ka\u2014ka \u0B85\x01")), QStringLiteral("f\u2014f \u0B85\x01|  "));
}

void TestReplay::cancelStopsEarly()
{
    int calls = 0;
    const QString typed = replayed(QString(200000, u'k'), [&](double) { return ++calls < 2; });
    QVERIFY(calls == 2 && typed.startsWith(QStringLiteral("<cancelled>")) && typed.size() < 400000);
}

QTEST_MAIN(TestReplay)
#include "test_replay.moc"
