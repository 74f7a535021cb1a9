// The phonetic key map: one typed key, judged with the two keys before it,
// becomes font codes. Rows are tested top to bottom; the first that holds wins.
#include "engine.h"

namespace tk::engine {

namespace {

bool oneOf(char c, std::string_view set) { return c != '\0' && set.find(c) != std::string_view::npos; }

} // namespace

std::string Engine::w(char cho)
{
    const char last = s_.lastKey;
    const char before = s_.keyBefore;
    const bool wordStart = last == ' ';
    const bool rtKey = oneOf(last, "rRtT");

    auto consonant = [&](const char* code) {
        s_.dotPending = true;
        return std::string(code);
    };
    // A vowel after a consonant: the cluster before the caret is rewritten in
    // place and the key itself inserts nothing.
    auto vowel = [&](unsigned g) {
        if (rtKey)
            swapMark();
        correct(g);
        return std::string();
    };

    switch (cho) {
    case 'a':
        if (wordStart) return "m";
        if (rtKey) return vowel(1);
        if (last == 'a' && before == ' ') {
            pullBack();
            return "M";
        }
        if (last == 'a') return "h";
        return vowel(1);
    case 'A':
        if (wordStart) return "M";
        return vowel(2);
    case 'b': case 'B': case 'p': case 'P': case 'f': case 'F':
        return consonant("g");
    case 'c': case 'C':
        return consonant("f");
    case 'd': case 'D':
        return consonant("l");
    case 'e':
        if (wordStart) return "v";
        if (oneOf(last, "eE")) {
            pullBack();
            text_.insert(doc_.heldConsonant);
            return "P";
        }
        return vowel(5);
    case 'E':
        if (wordStart) return "V";
        if (oneOf(last, "eE")) {
            pullBack();
            text_.insert("P");
            return doc_.heldConsonant;
        }
        return vowel(6);
    case 'g': case 'G':
        if (last == 'n') {
            pullBack();
            return consonant("q");
        }
        return consonant("f");
    case 'h': case 'H': {
        // "H" after "s" gives the same code but leaves the "s" cluster in place.
        const bool takeS = cho == 'h';
        if (oneOf(last, "cC") && oneOf(before, "nN")) {
            pullBack();
            pullBack();
            return consonant("Q");
        }
        if (oneOf(last, "cC")) {
            pullBack();
            return consonant("r");
        }
        if (oneOf(last, "tT") && oneOf(before, "nN")) {
            pullBack();
            pullBack();
            return consonant("e");
        }
        if (oneOf(last, "tTdD")) {
            pullBack();
            return consonant("j");
        }
        if (last == 's') {
            if (takeS)
                pullBack();
            return consonant("~");
        }
        if (wordStart) return consonant("`");
        return {};
    }
    case 'i': case 'I':
        if (wordStart) return cho == 'i' ? "," : "<";
        if (oneOf(last, "aA") && before == ' ') {
            pullBack();
            return "I";
        }
        if (oneOf(last, "aA")) {
            pullBack();
            text_.insert("i");
            return doc_.heldConsonant;
        }
        return vowel(cho == 'i' ? 3 : 4);
    case 'J': return consonant("a");
    case 'j': return consonant("[");
    case 'k': case 'K': return consonant("f");
    case 'l': return consonant("y");
    case 'L': return consonant("s");
    case 'm': case 'M': return consonant("k");
    case 'n':
        if (wordStart) return consonant("e");
        if (last == 'g') {
            pullBack();
            return consonant("Q");
        }
        return consonant("d");
    case 'N':
        return consonant(wordStart ? "e" : "z");
    case 'o': case 'O':
        if (wordStart) return cho == 'o' ? "x" : "X";
        if (oneOf(last, "oO")) {
            pullBack();
            const std::string& held = doc_.heldConsonant;
            const char form = vowelForm(held.empty() ? '\0' : held[0], s_);
            return held.empty() ? std::string() : std::string(1, form);
        }
        return vowel(cho == 'o' ? 7 : 8);
    case 'q': return "=";
    case 'Q': return "/";
    case 'r': case 'R': return consonant("u");
    case 's': case 'S': return consonant("r");
    case 't': case 'T': return consonant(wordStart ? "j" : "w");
    case 'u':
        if (oneOf(last, "oO") && before == ' ') {
            // "ou" at a word start: like "aa" and "ai", the vowel code just
            // typed is taken back and replaced by the pair.
            pullBack();
            text_.insert("xs");
            return {};
        }
        if (oneOf(last, "oO")) {
            pullBack();
            text_.insert("n" + doc_.heldConsonant + "s");
            return {};
        }
        if (wordStart) return "c";
        return vowel(9);
    case 'U':
        if (wordStart) return "C";
        return vowel(10);
    case 'v': case 'V': case 'w': case 'W': return consonant("t");
    case 'x': case 'X': return consonant("e");
    case 'y': case 'Y': return consonant("a");
    case 'z': return consonant("o");
    case 'Z': return consonant("]");
    default:
        return std::string(1, cho);
    }
}

} // namespace tk::engine
