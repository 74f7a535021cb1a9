// The edits at the caret that typing alone reaches only in part: glyph-order
// correction, taking a cluster back, exchanging the r-t pair; and the memory's
// update rule. The ordinary vowel signs after a consonant are in the key map's
// table.
#include "engine_fixture.h"

#include <QTest>

namespace {

constexpr int pull = -1, exchange = -2; // edits other than correct(vowel)
struct Row { int edit; const char* text; int caret; const char* expected; int after; const char* held; };
const Row rows[] = {
    // correct, form A: consonant and dot (or a sign, n and N too) before the caret; ட ligatures; no combined form,
    // a non-letter or an unknown vowel leave the consonant as it is
    {2, "ml;", 3, "mlh", 3, ""}, {4, "ml;", 3, "mB", 2, ""}, {9, "m$;", 3, "m$", 2, ""}, {10, "mq;", 3, "mq", 2, ""},
    {4, "mfp", 3, "mfP", 3, ""}, {2, "mfn", 3, "mfh", 3, ""}, {3, "mfN", 3, "mfp", 3, ""}, {11, "mf;", 3, "mf;", 3, ""},
    {0, "mf;", 3, "mf;", 3, ""},
    // form B: the consonant alone before the caret
    {1, "mf", 2, "mf", 2, ""}, {2, "mf", 2, "mfh", 3, ""}, {3, "ml", 2, "mb", 2, ""}, {5, "mf", 2, "mnf", 3, ""},
    {8, "mf", 2, "mNfh", 4, ""}, {9, "mf", 2, "mF", 2, ""}, {10, "mj", 2, "mJ}", 3, ""},
    // only the cluster at the caret changes; too short a text stays
    {8, "mf;XY", 3, "mNfhXY", 4, ""}, {1, "f;mf;", 5, "f;mf", 4, ""}, {10, "mj;XY", 3, "mJ}XY", 3, ""},
    {2, "", 0, "", 0, ""}, {10, "f", 1, "f", 1, ""}, {5, ";f;", 1, ";f;", 1, ""},
    // pullBack: the letter before the caret (h wins over n), nothing from a lone sign or past the caret
    {pull, "xkf;", 4, "xk", 2, "f"}, {pull, "anfh", 4, "a", 1, "f"}, {pull, "aNfh", 4, "a", 1, "f"},
    {pull, "abfh", 4, "ab", 2, "f"}, {pull, "ynf", 3, "y", 1, "f"}, {pull, "xfp", 3, "x", 1, "f"},
    {pull, "xfP", 3, "x", 1, "f"}, {pull, "abm", 3, "ab", 2, "m"}, {pull, "nfh", 3, "", 0, "f"},
    {pull, "xNfhYZ", 4, "xYZ", 1, "f"}, {pull, "", 0, "", 0, ""}, {pull, "m", 1, "", 0, "m"}, {pull, ";", 1, "", 0, ""},
    {pull, "h", 1, "", 0, ""}, {pull, "fh", 2, "", 0, "f"}, {pull, "nf", 2, "", 0, "f"}, {pull, "f;", 0, "f;", 0, ""},
    // swapMark only on u; or w; just before the caret (both ways are in the key map's table)
    {exchange, "abw;u;", 4, "abu;u;", 4, ""}, {exchange, "abk;u;", 4, "abk;u;", 4, ""},
    {exchange, "abxu", 4, "abxu", 4, ""}, {exchange, "u;", 2, "w;", 2, ""}, {exchange, ";", 1, ";", 1, ""},
    {exchange, "", 0, "", 0, ""},
};

// The text, the caret after the edit and what pullBack holds, in one line.
void check(const Row& r)
{
    EngineFixture f(r.text, r.caret);
    f.doc.heldConsonant = "stale";
    if (r.edit == pull)
        f.engine.pullBack();
    else if (r.edit == exchange)
        f.engine.swapMark();
    else
        f.engine.correct(static_cast<unsigned>(r.edit));
    const QByteArray held = QByteArray::fromStdString(f.doc.heldConsonant), heldAfter = r.edit == pull ? r.held : "stale";
    const QByteArray row = QByteArray::number(r.edit) + ' ' + r.text + '@' + QByteArray::number(r.caret) + ": ";
    QCOMPARE(row + f.text() + '|' + QByteArray::number(f.surface.caret()) + '|' + held,
             row + r.expected + '|' + QByteArray::number(r.after) + '|' + heldAfter);
}

} // namespace

class TestCluster : public QObject {
    Q_OBJECT
private slots:
    void edits()
    {
        for (const Row& r : rows)
            check(r);
        // Grantha consonants take the u and uu signs behind them, in both forms.
        for (const std::string c : {"[", "~", "\\", "]", "`"})
            for (const auto& [vowel, sign] : {std::pair{9, "{"}, std::pair{10, "_"}}) {
                const std::string written = "m" + c + sign;
                check({vowel, ("m" + c + ";").c_str(), 3, written.c_str(), 3, ""});
                check({vowel, ("m" + c).c_str(), 2, written.c_str(), 3, ""});
                check({vowel, ("m" + c + ";XY").c_str(), 3, (written + "XY").c_str(), 3, ""});
            }
    }

    void stateUpdate()
    {
        // Separators start a word; every other key is remembered as itself.
        for (const int typed : {0, 8, 9, 10, 13, 27, 32, int('0'), 128, int('!'), int('1'), int('9'), int('k'), int('A'), int('~'),
                                127, 129, 255}) {
            tk::engine::EngineState state{'k', 'x', true, 2};
            tk::engine::advance(state, static_cast<unsigned char>(typed));
            const bool separator = typed <= 32 || typed == '0' || typed == 128;
            QCOMPARE(QByteArray::number(typed) + state.keyBefore + state.lastKey,
                     QByteArray::number(typed) + 'k' + (separator ? ' ' : char(typed)));
        }
        // A reset starts a word but keeps the dot asked for and the sign class.
        tk::engine::EngineState state{'a', 'k', true, 2};
        tk::engine::reset(state);
        QVERIFY(state.lastKey == ' ' && state.keyBefore == '\0' && state.dotPending && state.signClass == 2);
    }
};

QTEST_GUILESS_MAIN(TestCluster)
#include "test_cluster.moc"
