// The converter reads its input in blocks and remembers typed words: wherever the blocks are cut, the
// result is what the engine gives the whole text. Random texts from the keys the engine's rules use.
#include "app/convert/conversions.h"
#include "engine/tamil_unicode.h"
#include "engine_fixture.h"

#include <QRandomGenerator>
#include <QTest>

using tk::cli::Converter;
using tk::cli::Mode;

namespace {

std::string randomText(QRandomGenerator& rng, std::size_t size, const std::string& alphabet)
{
    std::string s;
    while (s.size() < size) {
        // Words of any length, some far longer than the remembered ones.
        const int length = rng.bounded(100) < 3 ? rng.bounded(40, 120) : rng.bounded(1, 9);
        for (int i = 0; i < length; ++i)
            s += alphabet[rng.bounded(int(alphabet.size()))];
        const char* separators[] = {" ", " ", "\n", "\t", "0", "  ", "\r\n", "\x80"};
        s += separators[rng.bounded(8)];
    }
    return s;
}

// Through a converter, in blocks of random sizes (1 byte and up).
std::string inBlocks(Mode mode, const std::string& input, QRandomGenerator& rng, std::string* problem = nullptr)
{
    Converter c(mode);
    std::string out;
    for (std::size_t at = 0; at < input.size();) {
        const std::size_t n = std::min<std::size_t>(input.size() - at, rng.bounded(1, 300));
        if (!c.feed(std::string_view(input).substr(at, n), out))
            break;
        at += n;
    }
    c.finish(out);
    if (problem)
        *problem = c.problem();
    return out;
}

} // namespace

class TestStreamConversion : public QObject {
    Q_OBJECT
private slots:
    void matchesTheWholeText()
    {
        // Typing from letters, vowels and r-t keys, codes typed as themselves; then codes to Unicode and back.
        for (const std::string alphabet : {"aAeEiIoOuUkgnNcCtTdDhHsrRlLmpbjJyvwxzZqQf", "aaeeiioouuAEIOUrRtTnNhcs",
                                           "ka;hnNpP}+~{_=/.,'aiu", "fjkpo;nNhisxu{}_+~qQ=!@#$%^&*[]`aAWTYZDE "}) {
            const bool unicode = alphabet.back() == ' ';
            QRandomGenerator rng(20240501 + alphabet.size());
            for (int round = 0; round < 80; ++round) {
                // Half the texts start mid-word, with a code the engine rewrites.
                const std::string input = (round % 2 ? ";" : "") + randomText(rng, 2500, alphabet);
                if (!unicode) {
                    EngineFixture whole;
                    whole.engine.feed(input);
                    QCOMPARE(inBlocks(Mode::Type, input, rng), whole.surface.text());
                    continue;
                }
                const std::string text = tk::engine::codesToUnicode(input);
                QCOMPARE(inBlocks(Mode::ToUnicode, input, rng), text);
                QCOMPARE(inBlocks(Mode::FromUnicode, text, rng), tk::engine::unicodeToCodes(text).codes);
            }
        }
    }

    void problemsCountFromTheStartOfTheText()
    {
        QRandomGenerator rng(5);
        std::string problem, late;
        inBlocks(Mode::FromUnicode, std::string(5000, 'a') + "\xC3" + "b", rng, &problem);
        QCOMPARE(QString::fromStdString(problem), "malformed UTF-8 at byte offset 5000");
        inBlocks(Mode::Type, std::string(7000, 'k') + '\0', rng, &problem);
        QCOMPARE(QString::fromStdString(problem), "binary data, not text (a NUL byte at byte offset 7000)");
        // A character the codes cannot hold (the euro sign), far into the text.
        Converter c(Mode::FromUnicode);
        QVERIFY(c.feed(std::string(9000, 'x') + "\xE2\x82\xAC", late) && c.finish(late));
        QCOMPARE(QString::fromStdString(c.loss()), "1 character has no font code and became '?' (the first, U+20AC, at byte offset 9000)");
    }
};

QTEST_GUILESS_MAIN(TestStreamConversion)
#include "test_stream_conversion.moc"
