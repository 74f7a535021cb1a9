#pragma once

#include <string>

namespace tk::engine {

// Memory of the keys typed so far, shared by every document window: the
// first key in another window is judged against the key typed last in the
// previous one. Holds typed keys, never font codes.
struct EngineState {
    char lastKey = ' ';     // ' ' after a separator: a word starts
    char keyBefore = '\0';  // '\0' stands for "no key yet" (after the reset)
    bool dotPending = false;
    unsigned char signClass = 0;
};

// What each document window keeps for the engine.
struct DocumentState {
    std::string heldConsonant; // the consonant code pullBack took out last
    std::string lastOutput;    // what the key mapper returned for the last key
};

// Codes up to 32, 128 and the digit "0" end a word.
constexpr bool isSeparator(unsigned char typed)
{
    return typed <= 32 || typed == 128 || typed == '0';
}

// Move the memory on by one typed (or fed) character.
inline void advance(EngineState& s, unsigned char typed)
{
    s.keyBefore = s.lastKey;
    s.lastKey = isSeparator(typed) ? ' ' : static_cast<char>(typed);
}

// Run whenever a document window loads; dotPending and signClass stay.
inline void reset(EngineState& s)
{
    s.lastKey = ' ';
    s.keyBefore = '\0';
}

} // namespace tk::engine
