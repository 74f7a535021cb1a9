// Read aloud: what is spoken with which voice, the settings in the engine's
// units, playback on a stand-in sound card.
#include "fake_audio.h"
#include "../support/text_pieces.h"
#include "../support/scripted_dialogs.h"

#include "document/rich_text_box.h"
#include "speech/direct_ss1.h"
#include "speech/speech_player.h"

#include <QSignalSpy>
#include <QTest>

using namespace tk::speech;

namespace {

bool hasSpokenWordSelection(const QTextEdit& box)
{
    for (const QTextEdit::ExtraSelection& s : box.extraSelections())
        if (s.format.background().color() == QColor(255, 214, 102))
            return true;
    return false;
}

SpeechText wholeText(const tk::document::RichTextBox& box)
{
    return speechText(*box.document(), 0, box.document()->characterCount() - 1);
}

} // namespace

class TestSpeech : public QObject {
    Q_OBJECT
private slots:
    void tamilIsSpokenWithTheTamilVoice();
    void runs();
    void settingsInEngineUnits();
    void cancelEndsSynthesis();
    void nothingToHearOrNoSoundCard();
    void stopEndsPlaybackAndHighlight();
    void readingToTheEndClearsTheHighlight();
    void spokenWordsGoForward();
};

// The Tamil voice speaks the Unicode; its word events lead back to the document's words.
void TestSpeech::tamilIsSpokenWithTheTamilVoice()
{
    tk::document::RichTextBox box;
    fill(box, QStringLiteral("K:tzf;fk; cyfk;"));
    const SpeechText text = wholeText(box);
    const Synthesis sound = Synthesizer::instance().synthesize(text.runs.at(0).text, voiceName(text.runs[0].voice),
                                                               DirectSS1(box).voiceSettings());
    QVERIFY(sound.status == Synthesis::Status::Ok && sound.voiceLanguage == u"ta" && sound.words.size() == 2u);
    QVERIFY(sound.samples.size() > std::size_t(Synthesizer::instance().sampleRate() / 2));
    QCOMPARE(wordAt(text.runs[0], sound.words[1].textPosition), 1);
    QCOMPARE(QPoint(text.words[1].start, text.words[1].end), QPoint(8, 13));
}

// Each run as voice:text, then the number of words.
void TestSpeech::runs()
{
    const struct { const char* document; QStringList runs; } rows[] = {
        {"K:tzf;fk; |L:hello world |K:ehd;", {"ta:வணக்கம் ", "en:hello world ", "ta:நான்", "4"}},
        {"L:One two. Three", {"en:One two. ", "en:Three", "3"}},  // a sentence ends a run
        {"L:U.S.A today", {"en:U.S.A today", "4"}},               // a dot inside a word does not
        {"L:One\nTwo", {"en:One\n", "en:Two", "2"}},              // nor does a paragraph
        {"K:2024 ehd;", {"ta:2024 நான்", "2"}},                   // digits in the Tamil font
        {"B:tz|K:f;fk;", {"ta:வணக்கம்", "1"}},                    // formatting inside a word
        {"L: ... ,, |K: ", {"0"}},                                 // nothing but punctuation
        {"L:(hello)", {"en:hello)", "1"}},                         // leading punctuation dropped
    };
    for (const auto& r : rows) {
        tk::document::RichTextBox box;
        fill(box, QString::fromLatin1(r.document));
        const SpeechText text = wholeText(box);
        QStringList got;
        for (const SpeechRun& run : text.runs)
            got << voiceName(run.voice).left(2) + u':' + run.text;
        QCOMPARE(got << QString::number(text.words.size()), r.runs);
    }
}

// A new document sounds like the engine's own defaults. Rows: the control's
// speed, pitch, mode; the engine's.
void TestSpeech::settingsInEngineUnits()
{
    tk::document::RichTextBox box;
    DirectSS1 speech(box);
    QCOMPARE(speech.voiceSettings(), (VoiceSettings{175, 50, 1}));
    const int rows[][6] = {{30, 84, 1, 80, 0, 1}, {510, 338, 7, 450, 99, 7}, {270, 211, 4, 265, 50, 4},
                           {10, 400, 9, 80, 99, 7} /* outside the ranges */};
    for (const auto& r : rows) {
        speech.SetSpeed(r[0]);
        speech.SetPitch(r[1]);
        speech.SetCurrentMode(r[2]);
        QCOMPARE(speech.voiceSettings(), (VoiceSettings{r[3], r[4], r[5]}));
    }
}

void TestSpeech::cancelEndsSynthesis()
{
    const QString longText = QStringLiteral("This sentence is long enough to need many blocks of audio. ").repeated(20);
    const Synthesis whole = Synthesizer::instance().synthesize(longText, QStringLiteral("en-us"), {});
    int asked = 0;
    const Synthesis cut = Synthesizer::instance().synthesize(longText, QStringLiteral("en-us"), {},
                                                             [&] { return ++asked > 2; });
    QCOMPARE(cut.status, Synthesis::Status::Cancelled);
    QVERIFY(cut.samples.size() * 4 < whole.samples.size());
}

// Without a sound card an empty selection says nothing either: there was nothing to hear.
void TestSpeech::nothingToHearOrNoSoundCard()
{
    const QStringList noCard{QStringLiteral("message:Tamil Kalvem:") + noAudioDeviceMessage()};
    const struct { bool selected, soundCard; QStringList messages; } rows[] = {
        {false, true, {}}, {false, false, {}}, {true, false, noCard}};
    for (const auto& r : rows) {
        ScriptedDialogs dialogs;
        FakeAudio audio;
        audio.present = r.soundCard;
        tk::document::RichTextBox box;
        fill(box, QStringLiteral("K:ehd; |L:hello"));
        if (r.selected)
            selectAll(box);
        DirectSS1& speech = DirectSS1::of(box);
        speech.SpeakSelection();
        QVERIFY(!speech.isSpeaking());
        QTest::qWait(50);
        QCOMPARE(audio.opened.load(), 0);
        QCOMPARE(dialogs.log, r.messages);
    }
}

// By Stop, Escape in the document, or closing the document.
void TestSpeech::stopEndsPlaybackAndHighlight()
{
    for (const QString how : {"stop", "escape", "close"}) {
        ScriptedDialogs dialogs;
        FakeAudio audio;
        auto box = std::make_unique<tk::document::RichTextBox>();
        box->show();
        fill(*box, QStringLiteral("K:") + QStringLiteral("ehd; jkpo; vOjpNdd;. ").repeated(30));
        const QString text = box->toPlainText();
        selectAll(*box);
        // Another feature's mark stays while words are spoken and after.
        QTextEdit::ExtraSelection other{QTextCursor(box->document()), {}};
        other.cursor.setPosition(3, QTextCursor::KeepAnchor);
        other.format.setBackground(Qt::green);
        box->setExtraSelections({other});
        QPointer<DirectSS1> speech = &DirectSS1::of(*box);
        speech->SpeakSelection();
        // The selection would cover the spoken word: it steps aside meanwhile.
        QVERIFY(speech->isSpeaking() && !box->textCursor().hasSelection());
        QTRY_VERIFY(hasSpokenWordSelection(*box));
        QCOMPARE(box->extraSelections().size(), 2);
        QTRY_VERIFY(speech->spokenWord().start > 0);
        if (how == QLatin1String("stop"))
            speech->Stop();
        else if (how == QLatin1String("escape"))
            QTest::keyClick(box.get(), Qt::Key_Escape);
        else
            box.reset();
        QTRY_COMPARE(audio.live.load(), 0);
        const qint64 writtenAtStop = audio.written.load();
        QTest::qWait(100);
        QCOMPARE(audio.written.load(), writtenAtStop);
        QCOMPARE(dialogs.log, QStringList{});
        QCOMPARE(!speech, !box);
        if (box) {
            QVERIFY(!speech->isSpeaking() && !hasSpokenWordSelection(*box));
            QCOMPARE(box->extraSelections().size(), 1);
            QCOMPARE(box->textCursor().selectedText().size(), text.size());
            QCOMPARE(box->toPlainText(), text);
        }
    }
}

void TestSpeech::readingToTheEndClearsTheHighlight()
{
    FakeAudio audio;
    audio.pace = 20;
    tk::document::RichTextBox box;
    fill(box, QStringLiteral("K:ehd; |L:can read"));
    selectAll(box);
    DirectSS1& speech = DirectSS1::of(box);
    QSignalSpy ended(&speech, &DirectSS1::speakingChanged);
    speech.SpeakSelection();
    // A caret the person moves meanwhile stays where they put it.
    box.moveCursor(QTextCursor::End);
    QTRY_COMPARE(ended.size(), 2);
    QVERIFY(!box.textCursor().hasSelection() && !hasSpokenWordSelection(box));
    QVERIFY(!ended.last().first().toBool() && audio.live.load() == 0 && audio.written.load() > 22050);
}

// The mark goes forward only and ends on the last word, whatever events the
// engine adds (one more word after a paragraph break at the end) and though a
// busy machine may step past a short word between two ticks.
void TestSpeech::spokenWordsGoForward()
{
    FakeAudio audio;
    audio.pace = 20;
    tk::document::RichTextBox box;
    fill(box, QStringLiteral("K:ed;wp tzf;fk;.\n|L:Two words.\n"));
    SpeechPlayer player(std::make_shared<std::atomic<quint64>>(1));
    QList<int> words;
    connect(&player, &SpeechPlayer::wordReached, this, [&](quint64, int word) { words << word; });
    QSignalSpy finished(&player, &SpeechPlayer::finished);
    player.play(1, wholeText(box), {});
    QTRY_COMPARE(finished.size(), 1);
    QVERIFY(!words.isEmpty() && words.last() == 3
            && std::adjacent_find(words.begin(), words.end(), std::greater_equal<>()) == words.end());
}

QTEST_MAIN(TestSpeech)
#include "test_speech.moc"
