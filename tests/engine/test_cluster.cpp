// The edits at the caret that typing alone reaches only in part: glyph-order
// correction, taking a cluster back, exchanging the r-t pair; and the memory's
// update rule. The ordinary vowel signs after a consonant are in the key map's
// table.
#include "engine_fixture.h"

#include <QTest>

namespace {

constexpr int pull = -1, exchange = -2; // edits other than correct(vowel)
struct Row { const char* name; int edit; const char* text; int caret; const char* expected; int after; const char* held; };
const Row rows[] = {
    // correct: form A, consonant and dot (or a sign) before the caret
    {"A2 l takes the ordinary sign", 2, "ml;", 3, "mlh", 3, ""}, {"A4 l ligature", 4, "ml;", 3, "mB", 2, ""},
    {"A9 non-letter stays", 9, "m$;", 3, "m$", 2, ""}, {"A10 no combined form", 10, "mq;", 3, "mq", 2, ""},
    {"A replaces a sign", 4, "mfp", 3, "mfP", 3, ""}, {"A n counts as a sign", 2, "mfn", 3, "mfh", 3, ""},
    {"A N counts as a sign", 3, "mfN", 3, "mfp", 3, ""}, {"A unknown vowel", 11, "mf;", 3, "mf;", 3, ""},
    {"A vowel 0", 0, "mf;", 3, "mf;", 3, ""},
    // form B: the consonant alone before the caret
    {"B1 nothing to do", 1, "mf", 2, "mf", 2, ""}, {"B2", 2, "mf", 2, "mfh", 3, ""}, {"B3 l ligature", 3, "ml", 2, "mb", 2, ""},
    {"B5", 5, "mf", 2, "mnf", 3, ""}, {"B8", 8, "mf", 2, "mNfh", 4, ""}, {"B9", 9, "mf", 2, "mF", 2, ""},
    {"B10 class 1", 10, "mj", 2, "mJ}", 3, ""},
    // only the cluster at the caret changes
    {"middle of the text", 8, "mf;XY", 3, "mNfhXY", 4, ""}, {"earlier pair untouched", 1, "f;mf;", 5, "f;mf", 4, ""},
    {"class 1 mark in the middle", 10, "mj;XY", 3, "mJ}XY", 3, ""}, {"too short: empty", 2, "", 0, "", 0, ""},
    {"too short: one code", 10, "f", 1, "f", 1, ""}, {"too short: caret at 1", 5, ";f;", 1, ";f;", 1, ""},
    // pullBack
    {"consonant and dot", pull, "xkf;", 4, "xk", 2, "f"}, {"n consonant h", pull, "anfh", 4, "a", 1, "f"},
    {"N consonant h", pull, "aNfh", 4, "a", 1, "f"}, {"consonant h", pull, "abfh", 4, "ab", 2, "f"},
    {"n consonant", pull, "ynf", 3, "y", 1, "f"}, {"consonant p", pull, "xfp", 3, "x", 1, "f"},
    {"consonant P", pull, "xfP", 3, "x", 1, "f"}, {"single code", pull, "abm", 3, "ab", 2, "m"},
    {"h wins over n", pull, "nfh", 3, "", 0, "f"}, {"pulled from the middle", pull, "xNfhYZ", 4, "xYZ", 1, "f"},
    {"pull empty", pull, "", 0, "", 0, ""}, {"pull one code", pull, "m", 1, "", 0, "m"}, {"lone dot", pull, ";", 1, "", 0, ""},
    {"lone h", pull, "h", 1, "", 0, ""}, {"consonant h only", pull, "fh", 2, "", 0, "f"},
    {"n consonant only", pull, "nf", 2, "", 0, "f"}, {"caret at start of text", pull, "f;", 0, "f;", 0, ""},
    // swapMark (u; and w; both ways are in the key map's table)
    {"never reaches further on", exchange, "abw;u;", 4, "abu;u;", 4, ""}, {"other pair", exchange, "abk;u;", 4, "abk;u;", 4, ""},
    {"u without dot", exchange, "abxu", 4, "abxu", 4, ""}, {"swap two codes", exchange, "u;", 2, "w;", 2, ""},
    {"swap one code", exchange, ";", 1, ";", 1, ""}, {"swap empty", exchange, "", 0, "", 0, ""},
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
    const QByteArray held = r.edit == pull ? QByteArray::fromStdString(f.doc.heldConsonant) : "stale";
    QCOMPARE(QByteArray(r.name) + ": " + f.text() + '|' + QByteArray::number(f.surface.caret()) + '|' + held,
             QByteArray(r.name) + ": " + r.expected + '|' + QByteArray::number(r.after) + '|' + (r.edit == pull ? r.held : "stale"));
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
                const std::string name = "grantha " + c + sign, written = "m" + c + sign;
                check({name.c_str(), vowel, ("m" + c + ";").c_str(), 3, written.c_str(), 3, ""});
                check({name.c_str(), vowel, ("m" + c).c_str(), 2, written.c_str(), 3, ""});
                check({name.c_str(), vowel, ("m" + c + ";XY").c_str(), 3, (written + "XY").c_str(), 3, ""});
            }
    }
    void stateUpdate();
};

void TestCluster::stateUpdate()
{
    // Separators start a word; every other key is remembered as itself.
    for (const int typed : {0, 8, 9, 10, 13, 27, 32, int('0'), 128, int('!'), int('1'), int('9'), int('k'), int('A'), int('~'), 127, 129, 255}) {
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

QTEST_GUILESS_MAIN(TestCluster)
#include "test_cluster.moc"
