// Writes the browser's home page: the page text with the key chart filled in
// by typing every key and key pair through the phonetic engine itself, so
// the chart says exactly what typing does. Run at build time:
//   tk-make-home-page TEMPLATE KOLVANI.ttf NELPARI.ttf OUTPUT
#include "engine/engine.h"
#include "engine/font_codes.h"
#include "engine/string_surface.h"
#include "engine/tamil_unicode.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using tk::engine::fontcodes::consonants;

// The codes the engine writes for keys typed at the start of a word (after
// a blank, as in running text).
std::string typed(const std::string& keys)
{
    tk::engine::EngineState state;
    tk::engine::DocumentState doc;
    tk::engine::StringSurface surface;
    tk::engine::Engine(state, doc, surface).feed(" " + keys);
    return surface.text().substr(1);
}

std::string hex(const std::string& codes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : codes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// Codes as characters of the display font: every byte as the character of
// the same value, written as a reference so nothing in it is markup.
std::string fontText(const std::string& codes)
{
    std::string out;
    for (const unsigned char c : codes)
        out += "&#" + std::to_string(c) + ";";
    return out;
}

std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// One chart cell: the keys, what the font draws and the Unicode reading.
// Keys typed after `after` (inside a word) show only what they add to it.
std::string cell(const std::string& keys, const std::string& after = {})
{
    const std::string codes = typed(after + keys).substr(typed(after).size());
    std::string attributes = "data-keys=\"" + escaped(keys) + "\" data-codes=\"" + hex(codes) + "\"";
    if (!after.empty())
        attributes += " data-after=\"" + escaped(after) + "\"";
    return "<td class=\"k\" " + attributes + "><kbd>" + (after.empty() ? "" : "&hellip;") + escaped(keys)
        + "</kbd><span class=\"t\">" + fontText(codes) + "</span><span class=\"u\">"
        + escaped(tk::engine::codesToUnicode(codes)) + "</span></td>";
}

std::string table(const std::vector<std::string>& keys, int perRow)
{
    std::string out = "<table class=\"chart\">\n";
    for (std::size_t i = 0; i < keys.size(); i += perRow) {
        out += "<tr>";
        for (std::size_t j = i; j < keys.size() && j < i + perRow; ++j)
            out += cell(keys[j]);
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

// Every key of the keyboard's letters, small and capital.
std::vector<std::string> everyKey()
{
    std::vector<std::string> keys;
    for (char c = 'a'; c <= 'z'; ++c) {
        keys.emplace_back(1, c);
        keys.emplace_back(1, char(c - 'a' + 'A'));
    }
    return keys;
}

// Keys whose meaning depends on the key before them, at the start of a word.
const std::vector<std::string> keyPairs = {
    "aa", "ai", "aI", "Ai", "oo", "oO", "Oo", "OO", "ou", "Ou", "ng", "nG", "gn", "ch", "Ch",
    "nch", "Nch", "th", "Th", "nth", "Nth", "dh", "Dh", "sh", "sH",
};

// The vowels typed after a consonant.
const std::vector<std::string> vowelKeys = {"a", "A", "aa", "i", "I", "ee", "u", "U",
                                            "e", "E", "ai", "o", "O", "oo", "ou"};

// Some consonants are written only inside a word; their row is typed after
// this vowel.
const std::string insideAWord = "a";

// The keys for each consonant of the font: the shortest that write it, the
// usual spelling first among equals.
std::string consonantKeys(char code, const std::string& after)
{
    const std::string want{code, ';'};
    std::vector<std::string> candidates = {"k", "ng", "s", "gn", "d", "n", "th", "t", "N", "p", "m",
                                           "y", "r", "l", "v", "z", "L", "R", "j", "sh", "Z", "h"};
    const std::vector<std::string> every = everyKey();
    candidates.insert(candidates.end(), every.begin(), every.end());
    candidates.insert(candidates.end(), keyPairs.begin(), keyPairs.end());
    std::string best;
    for (const std::string& keys : candidates) {
        if (typed(after + keys).substr(typed(after).size()) == want && (best.empty() || keys.size() < best.size()))
            best = keys;
    }
    return best;
}

std::string consonantGrid()
{
    std::string out = "<table class=\"chart grid\">\n<tr><th></th>";
    for (const std::string& v : vowelKeys)
        out += "<th><kbd>+" + v + "</kbd></th>";
    out += "</tr>\n";
    for (const auto& consonant : consonants) {
        std::string after;
        std::string keys = consonantKeys(consonant.code, after);
        if (keys.empty()) {
            after = insideAWord;
            keys = consonantKeys(consonant.code, after);
        }
        if (keys.empty())
            continue;
        out += "<tr>" + cell(keys, after);
        for (const std::string& v : vowelKeys)
            out += cell(keys + v, after);
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

// Words typed the way the page tells, with what they give.
const std::vector<std::string> exampleWords = {"vaNakkam", "thamiz", "kalvi", "ammaa", "nanRi", "padi"};

std::string examples()
{
    std::string out = "<table class=\"chart\">\n<tr>";
    for (const std::string& word : exampleWords)
        out += cell(word);
    return out + "</tr>\n</table>\n";
}

QByteArray readAll(const char* path)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "tk-make-home-page: cannot read %s\n", path);
        std::exit(1);
    }
    return file.readAll();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: tk-make-home-page TEMPLATE KOLVANI.ttf NELPARI.ttf OUTPUT\n");
        return 2;
    }
    QByteArray page = readAll(argv[1]);
    page.replace("@KOLVANI_FONT@", readAll(argv[2]).toBase64());
    page.replace("@NELPARI_FONT@", readAll(argv[3]).toBase64());
    page.replace("@PRODUCT_NAME@", QByteArray::fromStdString(fontText(tk::engine::unicodeToCodes("தமிழ் கல்வெம்").codes)));
    page.replace("@EXAMPLES@", QByteArray::fromStdString(examples()));
    page.replace("@EVERY_KEY@", QByteArray::fromStdString(table(everyKey(), 8)));
    page.replace("@KEY_PAIRS@", QByteArray::fromStdString(table(keyPairs, 8)));
    page.replace("@CONSONANT_GRID@", QByteArray::fromStdString(consonantGrid()));

    QSaveFile out(QString::fromLocal8Bit(argv[4]));
    if (!out.open(QIODevice::WriteOnly) || out.write(page) != page.size() || !out.commit()) {
        std::fprintf(stderr, "tk-make-home-page: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
