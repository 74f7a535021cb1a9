// Letters of display-font codes: where a caret may stand, and what Backspace
// leaves of a letter.
#include "engine/letters.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tk::engine;

class TestLetters : public QObject {
    Q_OBJECT
private slots:
    void places()
    {
        // Rows mark the places with "|"; "0" stands for a character outside the display fonts.
        const char* rows[] = {
            "j|kp|o;", "t|d|f;|f|k;",        // தமிழ் வனக்கம்: ி and the pulli stay with their consonant
            "nfh|z;|L", "Nfh|l;|il|ah|d",     // கொண்டு கோட்டையான: signs drawn before, two-part vowels
            "nfs|ij", "xs|it", "x|sp",        // கௌதை ஔவை ஒளி: "s" is the au mark,
            "nf|s;",                          // but with a pulli it is ள
            "$|W|F", "Z}|J}", "f|}",          // combined forms, a u-form with its uu mark, "}" alone
            "b|B|[{|u|k;", "gp|f;~_", "nf;~|m", // டி டீ ஜுரம், பிக்ஷூ: க்ஷ is one letter
            "=|M|,|/", "1|2| |f;", "",          // ஸ்ரீ ஆ இ ஃ
            " |;|f", "f|0|;h", "n|nf|i",        // a sign after a blank, text outside the fonts or a non-consonant stands alone
        };
        for (const char* marked : rows) {
            const std::string codes = QByteArray(marked).replace("|", "").replace('0', '\0').toStdString();
            // The places as the row marks them; a letter snaps to the nearest places either side.
            QByteArray got;
            for (std::size_t pos = 0; pos <= codes.size(); ++pos) {
                const bool boundary = isLetterBoundary(codes, pos);
                got += boundary && pos > 0 && pos < codes.size() ? "|" : "";
                const std::size_t back = letterStartAtOrBefore(codes, pos), on = letterEndAtOrAfter(codes, pos);
                QVERIFY(back <= pos && pos <= on && isLetterBoundary(codes, back) && isLetterBoundary(codes, on));
                for (std::size_t between = back + 1; between < on; ++between)
                    QVERIFY(!isLetterBoundary(codes, between));
                if (pos < codes.size()) {
                    got += codes[pos] ? codes[pos] : '0';
                    const LetterSpan letter = letterAt(codes, pos);
                    QCOMPARE(letter.start, back);
                    QCOMPARE(letter.end, boundary ? letterEndAtOrAfter(codes, pos + 1) : on);
                }
            }
            QCOMPARE(got, QByteArray(marked));
        }
    }

    // The document reads only a stretch of a long paragraph around the caret:
    // a place must be judged alike from the whole text and from its neighbours.
    void placesDependOnlyOnTheCodesNearby()
    {
        QRandomGenerator rng(8);
        const char alphabet[] = "fjkpo;hnNiswxsZ}+FbB[{_~\\=m, 0";
        for (int round = 0; round < 300; ++round) {
            std::string codes(rng.bounded(1, 40), ' ');
            for (char& c : codes)
                if ((c = alphabet[rng.bounded(int(sizeof alphabet) - 1)]) == '0')
                    c = '\0';
            for (std::size_t pos = 1; pos < codes.size(); ++pos) {
                const std::size_t from = pos >= 5 ? pos - 5 : 0;
                const std::string near = codes.substr(from, std::min<std::size_t>(codes.size(), pos + 2) - from);
                QCOMPARE(isLetterBoundary(near, pos - from), isLetterBoundary(codes, pos));
            }
        }
    }

    void backspace()
    {
        const char* rows[][2] = {
            // a stray sign after a vowel goes first: {"mh", "m"}
            {"fh", "f"}, {"fp", "f"}, {"f;", "f"}, {"nf", "f"}, {"nfh", "f"}, {"Nfh", "f"}, {"nfs", "f"}, {"if", "f"}, {"F", "f"},
            {"$", "f"}, {"Z}", "z"}, {"G+", "g"}, {"b", "l"}, {"B", "l"}, {"[{", "["}, {"~_", "~"}, {"f;~h", "f;~"}, {"nf;~", "f;~"},
            {"mh", "m"}, {"f", ""}, {"m", ""}, {"xs", ""}, {"=", ""}, {"f;~", ""}, {"/", ""}, {"n", ""}, {"1", ""},
        };
        for (const auto& [letter, left] : rows)
            QCOMPARE(QByteArray(letter) + " -> " + QByteArray::fromStdString(withoutLastSign(letter)), QByteArray(letter) + " -> " + left);
    }
};

QTEST_GUILESS_MAIN(TestLetters)
#include "test_letters.moc"
