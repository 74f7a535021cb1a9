#pragma once

#include <QString>

#include <vector>

class QTextDocument;

namespace tk::speech {

enum class Voice { Tamil, English };

// The engine's name of the voice: "ta" or "en-us".
QString voiceName(Voice voice);

// A word of the document as positions in it.
struct SpokenWord {
    int start = 0;
    int end = 0; // one past its last character
};

// What one voice speaks in one go: a sentence, a paragraph or a few dozen
// words at most, so the first sound comes soon and stopping is quick.
struct SpeechRun {
    Voice voice = Voice::English;
    QString text;                // Unicode, as the voice reads it
    std::vector<int> wordStarts; // where each of its words starts in text, in code points
    int firstWord = 0;           // the index of its first word in SpeechText::words
};

struct SpeechText {
    std::vector<SpeechRun> runs;
    std::vector<SpokenWord> words;
    bool empty() const { return runs.empty(); }
};

// The text of [from, to) as it is read aloud: text in a Tamil display font
// becomes Unicode Tamil for the Tamil voice, everything else goes to the
// English voice as it stands. Without a word there is nothing to read.
SpeechText speechText(const QTextDocument& document, int from, int to);

// The word that the engine is at when it reports textPosition (code points
// from 0) in run: the index into SpeechText::words.
int wordAt(const SpeechRun& run, int textPosition);

} // namespace tk::speech
