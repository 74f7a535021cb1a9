// The road of one keystroke, and text feeding, which drives the same road
// without keys.
#include "engine.h"

namespace tk::engine {

std::string Engine::keyPress(char typed)
{
    doc_.lastOutput = w(typed);
    advance(s_, static_cast<unsigned char>(typed));
    return doc_.lastOutput.substr(0, 1);
}

void Engine::keyRelease(int shiftState, bool convertOn)
{
    // A key released with Ctrl alone held leaves the dot waiting for the next
    // release.
    if (shiftState != 2 && convertOn && s_.dotPending) {
        edit();
        s_.dotPending = false;
    }
}

void Engine::edit() { text_.insert(";"); }

void Engine::feed(std::string_view text)
{
    for (const char ch : text) {
        const std::string out = w(ch);
        if (!out.empty())
            text_.insert(out);
        if (s_.dotPending) {
            edit();
            s_.dotPending = false;
        }
        advance(s_, static_cast<unsigned char>(ch));
    }
}

} // namespace tk::engine
