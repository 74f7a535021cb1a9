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

} // namespace

class TestSpeech : public QObject {
    Q_OBJECT
private slots:
    void tamilIsSpokenWithTheTamilVoice();
    void runs_data();
    void runs();
    void settingsInEngineUnits_data();
    void settingsInEngineUnits();
    void cancelEndsSynthesis();
    void nothingToHearOrNoSoundCard_data();
    void nothingToHearOrNoSoundCard();
    void stopEndsPlaybackAndHighlight_data();
    void stopEndsPlaybackAndHighlight();
    void readingToTheEndClearsTheHighlight();
    void spokenWordsGoForward();
};

// The Tamil voice speaks the Unicode; its word events lead back to the document's words.
void TestSpeech::tamilIsSpokenWithTheTamilVoice()
{
    tk::document::RichTextBox box;
    fill(box, QStringLiteral("K:tzf;fk; cyfk;"));
    const SpeechText text = speechText(*box.document(), 0, box.document()->characterCount() - 1);
    const Synthesis sound = Synthesizer::instance().synthesize(text.runs.at(0).text, voiceName(text.runs[0].voice),
                                                               DirectSS1(box).voiceSettings());
    QCOMPARE(sound.status, Synthesis::Status::Ok);
    QCOMPARE(sound.voiceLanguage, QStringLiteral("ta"));
    QVERIFY(sound.samples.size() > std::size_t(Synthesizer::instance().sampleRate() / 2));
    QCOMPARE(sound.words.size(), 2u);
    QCOMPARE(wordAt(text.runs[0], sound.words[1].textPosition), 1);
    QCOMPARE(text.words[1].start, 8);
    QCOMPARE(text.words[1].end, 13);
}

void TestSpeech::runs_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<int>("words");
    QTest::newRow("mixed, in order") << "K:tzf;fk; |L:hello world |K:ehd;"
                                     << QStringList{"ta:வணக்கம் ", "en:hello world ", "ta:நான்"} << 4;
    QTest::newRow("a sentence ends a run") << "L:One two. Three" << QStringList{"en:One two. ", "en:Three"} << 3;
    QTest::newRow("a dot inside a word does not") << "L:U.S.A today" << QStringList{"en:U.S.A today"} << 4;
    QTest::newRow("a paragraph ends a run") << "L:One\nTwo" << QStringList{"en:One\n", "en:Two"} << 2;
    QTest::newRow("digits in the Tamil font") << "K:2024 ehd;" << QStringList{"ta:2024 நான்"} << 2;
    QTest::newRow("formatting inside a word") << "B:tz|K:f;fk;" << QStringList{"ta:வணக்கம்"} << 1;
    QTest::newRow("nothing but punctuation") << "L: ... ,, |K: " << QStringList{} << 0;
    QTest::newRow("leading punctuation dropped") << "L:(hello)" << QStringList{"en:hello)"} << 1;
}

void TestSpeech::runs()
{
    QFETCH(QString, document);
    QFETCH(QStringList, runs);
    QFETCH(int, words);
    tk::document::RichTextBox box;
    fill(box, document);
    const SpeechText text = speechText(*box.document(), 0, box.document()->characterCount() - 1);
    QStringList got;
    for (const SpeechRun& run : text.runs)
        got << voiceName(run.voice).left(2) + u':' + run.text;
    QCOMPARE(got, runs);
    QCOMPARE(int(text.words.size()), words);
}

void TestSpeech::settingsInEngineUnits_data()
{
    QTest::addColumn<QList<int>>("control");
    QTest::addColumn<QList<int>>("engine");
    QTest::newRow("lowest") << QList<int>{30, 84, 1} << QList<int>{80, 0, 1};
    QTest::newRow("highest") << QList<int>{510, 338, 7} << QList<int>{450, 99, 7};
    QTest::newRow("middle") << QList<int>{270, 211, 4} << QList<int>{265, 50, 4};
    QTest::newRow("outside the ranges") << QList<int>{10, 400, 9} << QList<int>{80, 99, 7};
}

void TestSpeech::settingsInEngineUnits()
{
    QFETCH(QList<int>, control);
    QFETCH(QList<int>, engine);
    tk::document::RichTextBox box;
    DirectSS1 speech(box);
    // A new document sounds like the engine's own defaults.
    QCOMPARE(speech.voiceSettings(), (VoiceSettings{175, 50, 1}));
    speech.SetSpeed(control[0]);
    speech.SetPitch(control[1]);
    speech.SetCurrentMode(control[2]);
    QCOMPARE(speech.voiceSettings(), (VoiceSettings{engine[0], engine[1], engine[2]}));
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

void TestSpeech::nothingToHearOrNoSoundCard_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("soundCard");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("empty selection") << false << true << QStringList{};
    // Without a sound card nothing is said either: there was nothing to hear.
    QTest::newRow("empty selection, no sound card") << false << false << QStringList{};
    QTest::newRow("no sound card") << true << false
                                   << QStringList{QStringLiteral("message:Tamil Kalvem:") + noAudioDeviceMessage()};
}

void TestSpeech::nothingToHearOrNoSoundCard()
{
    QFETCH(bool, selected);
    QFETCH(bool, soundCard);
    ScriptedDialogs dialogs;
    FakeAudio audio;
    audio.present = soundCard;
    tk::document::RichTextBox box;
    fill(box, QStringLiteral("K:ehd; |L:hello"));
    if (selected)
        selectAll(box);
    DirectSS1& speech = DirectSS1::of(box);
    speech.SpeakSelection();
    QVERIFY(!speech.isSpeaking());
    QTest::qWait(50);
    QCOMPARE(audio.opened.load(), 0);
    QTEST(dialogs.log, "messages");
}

void TestSpeech::stopEndsPlaybackAndHighlight_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Stop") << "stop";
    QTest::newRow("Escape in the document") << "escape";
    QTest::newRow("closing the document") << "close";
}

void TestSpeech::stopEndsPlaybackAndHighlight()
{
    QFETCH(QString, how);
    ScriptedDialogs dialogs;
    FakeAudio audio;
    auto* box = new tk::document::RichTextBox;
    box->show();
    fill(*box, QStringLiteral("K:") + QStringLiteral("ehd; jkpo; vOjpNdd;. ").repeated(30));
    const QString text = box->toPlainText();
    selectAll(*box);
    // Another feature's mark stays while words are spoken and after.
    QTextEdit::ExtraSelection other;
    other.cursor = QTextCursor(box->document());
    other.cursor.setPosition(3, QTextCursor::KeepAnchor);
    other.format.setBackground(Qt::green);
    box->setExtraSelections({other});

    QPointer<DirectSS1> speech = &DirectSS1::of(*box);
    speech->SpeakSelection();
    QVERIFY(speech->isSpeaking());
    // The selection would cover the spoken word: it steps aside meanwhile.
    QVERIFY(!box->textCursor().hasSelection());
    QTRY_VERIFY(hasSpokenWordSelection(*box));
    QCOMPARE(box->extraSelections().size(), 2);
    QTRY_VERIFY(speech->spokenWord().start > 0);

    if (how == QLatin1String("stop")) {
        speech->Stop();
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(box, Qt::Key_Escape);
    } else {
        delete box;
        box = nullptr;
        QVERIFY(!speech);
    }
    QTRY_COMPARE(audio.live.load(), 0);
    const qint64 writtenAtStop = audio.written.load();
    QTest::qWait(100);
    QCOMPARE(audio.written.load(), writtenAtStop);
    if (box) {
        QVERIFY(!speech->isSpeaking());
        QCOMPARE(box->extraSelections().size(), 1);
        QVERIFY(!hasSpokenWordSelection(*box));
        QCOMPARE(box->textCursor().selectedText().size(), text.size());
        QCOMPARE(box->toPlainText(), text);
        delete box;
    }
    QCOMPARE(dialogs.log, QStringList{});
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
    QVERIFY(!box.textCursor().hasSelection());
    QCOMPARE(ended.last().first().toBool(), false);
    QVERIFY(!hasSpokenWordSelection(box));
    QCOMPARE(audio.live.load(), 0);
    QVERIFY(audio.written.load() > 22050);
}

// The mark goes forward only, whatever events the engine adds (it reports
// one more word after a paragraph break at the end).
void TestSpeech::spokenWordsGoForward()
{
    FakeAudio audio;
    audio.pace = 20;
    tk::document::RichTextBox box;
    fill(box, QStringLiteral("K:ed;wp tzf;fk;.\n|L:Two words.\n"));
    const SpeechText text = speechText(*box.document(), 0, box.document()->characterCount() - 1);
    auto current = std::make_shared<std::atomic<quint64>>(1);
    SpeechPlayer player(current);
    QList<int> words;
    connect(&player, &SpeechPlayer::wordReached, this, [&](quint64, int word) { words << word; });
    QSignalSpy finished(&player, &SpeechPlayer::finished);
    player.play(1, text, {});
    QTRY_COMPARE(finished.size(), 1);
    // A busy machine may step past a short word between two ticks; the mark
    // must still only move forward and end on the last word.
    QVERIFY(!words.isEmpty());
    QCOMPARE(words.last(), 3);
    for (qsizetype i = 1; i < words.size(); ++i)
        QVERIFY2(words[i] > words[i - 1], qPrintable(QString::number(words[i])));
}

QTEST_MAIN(TestSpeech)
#include "test_speech.moc"
