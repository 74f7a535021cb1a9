#include "speech_text.h"

#include "document/text_runs.h"
#include "document/words.h"
#include "engine/tamil_unicode.h"

#include <algorithm>

namespace tk::speech {

namespace {

constexpr int maxWordsInRun = 40;

// Font codes to Unicode Tamil; characters beyond 8 bits (typed through an
// input method) are Unicode already.
QString toUnicode(const QString& codes)
{
    QString out;
    std::string bytes;
    auto flush = [&] {
        if (!bytes.empty())
            out += QString::fromStdString(engine::codesToUnicode(bytes));
        bytes.clear();
    };
    for (const QChar c : codes) {
        if (c.unicode() < 0x100) {
            bytes += char(c.unicode());
        } else {
            flush();
            out += c;
        }
    }
    flush();
    return out;
}

int codePoints(const QString& text)
{
    return int(text.size() - std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); }));
}

class Builder {
public:
    void add(QChar c, int pos, bool tamil)
    {
        const Voice voice = tamil ? Voice::Tamil : Voice::English;
        if (document::isWordCharacter(c, tamil)) {
            if (inWord_ && voice != wordVoice_)
                endWord();
            if (!inWord_) {
                inWord_ = true;
                wordVoice_ = voice;
                wordStart_ = pos;
                word_.clear();
            }
            word_ += c;
            wordEnd_ = pos + 1;
            stop_ = false;
            return;
        }
        endWord();
        between(c, tamil);
    }

    SpeechText finish()
    {
        endWord();
        return std::move(out_);
    }

private:
    void endWord()
    {
        if (!inWord_)
            return;
        inWord_ = false;
        if (out_.runs.empty() || wordVoice_ != out_.runs.back().voice || sentenceEnded_
            || wordsInRun_ >= maxWordsInRun) {
            out_.runs.push_back({wordVoice_, {}, {}, int(out_.words.size())});
            runLength_ = 0;
            wordsInRun_ = 0;
            sentenceEnded_ = false;
        }
        SpeechRun& run = out_.runs.back();
        run.wordStarts.push_back(runLength_);
        append(run, wordVoice_ == Voice::Tamil ? toUnicode(word_) : word_);
        out_.words.push_back({wordStart_, wordEnd_});
        ++wordsInRun_;
    }

    // Spaces and punctuation go with the run before them; before the first
    // word they carry nothing.
    void between(QChar c, bool tamil)
    {
        const bool space = c.isSpace() || c == u'\n';
        if (space && stop_)
            sentenceEnded_ = true;
        if (c == u'\n')
            sentenceEnded_ = true;
        stop_ = c == u'.' || c == u'!' || c == u'?';
        if (out_.runs.empty())
            return;
        append(out_.runs.back(), tamil ? toUnicode(QString(c)) : QString(c));
    }

    void append(SpeechRun& run, const QString& text)
    {
        run.text += text;
        runLength_ += codePoints(text);
    }

    SpeechText out_;
    int runLength_ = 0;
    int wordsInRun_ = 0;
    bool sentenceEnded_ = false;
    bool stop_ = false;
    bool inWord_ = false;
    Voice wordVoice_ = Voice::English;
    int wordStart_ = 0;
    int wordEnd_ = 0;
    QString word_;
};

} // namespace

QString voiceName(Voice voice) { return voice == Voice::Tamil ? QStringLiteral("ta") : QStringLiteral("en-us"); }

SpeechText speechText(const QTextDocument& document, int from, int to)
{
    Builder builder;
    document::forEachRun(document, from, to, [&](const document::TextRun& run) {
        for (int i = 0; i < run.text.size(); ++i)
            builder.add(run.text.at(i), run.position + i, run.tamilDisplayFont);
        return true;
    });
    return builder.finish();
}

int wordAt(const SpeechRun& run, int textPosition)
{
    const auto after = std::upper_bound(run.wordStarts.begin(), run.wordStarts.end(), textPosition);
    const int index = std::max(0, int(after - run.wordStarts.begin()) - 1);
    return run.firstWord + index;
}

} // namespace tk::speech
