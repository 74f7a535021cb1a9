// Editing the glyph cluster just before the caret: take it back, or exchange
// the r-t pair. Only the characters named are touched, so formatting and
// text elsewhere survive and the cost does not depend on the document size.
#include "engine.h"

namespace tk::engine {

namespace {

bool isPrefixSign(char c) { return c == 'n' || c == 'N'; }
bool isSuffixSign(char c) { return c == ';' || c == 'p' || c == 'P'; }

} // namespace

void Engine::pullBack()
{
    // s1 s2 s3 are the three characters before the caret; near the start of
    // the text the missing ones are '\0', which matches no code.
    const std::string s = text_.before(3);
    const char s3 = s.size() >= 1 ? s[s.size() - 1] : '\0';
    const char s2 = s.size() >= 2 ? s[s.size() - 2] : '\0';
    const char s1 = s.size() >= 3 ? s[s.size() - 3] : '\0';
    auto take = [&](int count, char consonant) {
        text_.replaceBefore(count, {});
        doc_.heldConsonant = consonant ? std::string(1, consonant) : std::string();
    };

    if (s3 == 'h') {
        if (isPrefixSign(s1))
            take(3, s2);
        else
            take(2, s2);
    } else if (isPrefixSign(s2)) {
        take(2, s3);
    } else if (isSuffixSign(s3)) {
        take(2, s2);
    } else {
        take(1, s3);
    }
}

void Engine::swapMark()
{
    const std::string pair = text_.before(2);
    if (pair == "u;")
        text_.replaceBefore(2, "w;");
    else if (pair == "w;")
        text_.replaceBefore(2, "u;");
}

char vowelForm(char code, EngineState& state)
{
    struct Row { char code, form; unsigned char signClass; };
    static constexpr Row table[] = {
        {'f', '$', 0}, {'r', '#', 0}, {'l', '^', 0}, {'j', 'J', 1},
        {'g', 'G', 2}, {'w', 'W', 1}, {'a', 'A', 2}, {'u', '&', 0},
        {'o', '*', 0}, {'t', 'T', 2}, {'s', '@', 0}, {'y', 'Y', 1},
        {'k', '%', 0}, {'z', 'Z', 1}, {'d', 'D', 1}, {'e', 'E', 1},
    };
    state.signClass = 0;
    for (const Row& row : table) {
        if (row.code == code) {
            state.signClass = row.signClass;
            return row.form;
        }
    }
    return code;
}

} // namespace tk::engine
