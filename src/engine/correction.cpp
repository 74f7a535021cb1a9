// Glyph-order correction: a vowel typed after a consonant rewrites the
// consonant's cluster into the order in which the font draws it (some signs
// stand before the consonant, some after, some vowels have a code of their own).
#include "engine.h"
#include "font_codes.h"

namespace tk::engine {

namespace {

bool isSignCode(char c)
{
    return c == ';' || c == 'n' || c == 'N' || c == 'h' || c == 'p' || c == 'P';
}

} // namespace

void Engine::correct(unsigned g)
{
    if (text_.caret() < 2)
        return;
    const std::string pair = text_.before(2);
    // Form A: consonant followed by a sign (usually the dot), both replaced.
    // Form B: the consonant stands alone right before the caret.
    const bool formA = isSignCode(pair[1]);
    const char c = formA ? pair[0] : pair[1];
    const int span = formA ? 2 : 1;

    std::string x;
    switch (g) {
    case 1:
        if (!formA)
            return;
        x = {c};
        break;
    case 2: x = {c, 'h'}; break;
    case 3: x = c == 'l' ? std::string("b") : std::string{c, 'p'}; break;
    case 4: x = c == 'l' ? std::string("B") : std::string{c, 'P'}; break;
    case 5: x = {'n', c}; break;
    case 6: x = {'N', c}; break;
    case 7: x = {'n', c, 'h'}; break;
    case 8: x = {'N', c, 'h'}; break;
    case 9:
        if (fontcodes::isGranthaCode(c))
            x = {c, fontcodes::granthaU};
        else
            x = {c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c};
        break;
    case 10:
        if (fontcodes::isGranthaCode(c)) {
            s_.signClass = 0;
            text_.replaceBefore(span, std::string{c, fontcodes::granthaUu});
            return;
        }
        x = {vowelForm(c, s_)};
        text_.replaceBefore(span, x);
        appendSign();
        return;
    default:
        return;
    }
    text_.replaceBefore(span, x);
}

void Engine::appendSign()
{
    if (s_.signClass == 1)
        text_.insert("}");
    else if (s_.signClass == 2)
        text_.insert("+");
}

} // namespace tk::engine
