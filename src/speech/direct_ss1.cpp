#include "direct_ss1.h"

#include "audio_output.h"
#include "speech_player.h"

#include "seam/common_dialog.h"

#include <QKeyEvent>
#include <QTextEdit>
#include <QThread>

#include <algorithm>
#include <cmath>

namespace tk::speech {

namespace {

// Marks the extra selections that are the spoken word, so that the others
// (found text, say) stay as they are.
constexpr int spokenWordProperty = QTextFormat::UserProperty + 0x5e4c;

void showSpokenWord(QTextEdit& box, const SpokenWord& word)
{
    QList<QTextEdit::ExtraSelection> selections = box.extraSelections();
    const auto had = selections.size();
    selections.removeIf([](const QTextEdit::ExtraSelection& s) { return s.format.hasProperty(spokenWordProperty); });
    if (word.start >= word.end && selections.size() == had)
        return;
    if (word.start < word.end) {
        QTextEdit::ExtraSelection spoken;
        spoken.cursor = QTextCursor(box.document());
        spoken.cursor.setPosition(word.start);
        spoken.cursor.setPosition(word.end, QTextCursor::KeepAnchor);
        spoken.format.setBackground(QColor(255, 214, 102));
        spoken.format.setProperty(spokenWordProperty, true);
        selections.append(spoken);
    }
    box.setExtraSelections(selections);
}

int scale(int value, int from, int to, int outFrom, int outTo)
{
    return outFrom + int(std::lround(double(value - from) * (outTo - outFrom) / (to - from)));
}

} // namespace

DirectSS1& DirectSS1::of(QTextEdit& box)
{
    if (auto* control = box.findChild<DirectSS1*>(QStringLiteral("DirectSS1"), Qt::FindDirectChildrenOnly))
        return *control;
    return *new DirectSS1(box);
}

// Our own start values sound like the engine's own: rate 175 words a minute,
// middle pitch.
DirectSS1::DirectSS1(QTextEdit& box)
    : QObject(&box), box_(&box), speed_(153), pitch_(212), mode_(1),
      current_(std::make_shared<std::atomic<quint64>>(0))
{
    setObjectName(QStringLiteral("DirectSS1"));
    connect(box.document(), &QTextDocument::contentsChange, this, &DirectSS1::onContentsChange);
}

DirectSS1::~DirectSS1()
{
    ++*current_;
    if (thread_) {
        thread_->quit();
        thread_->wait();
    }
}

void DirectSS1::SetSpeed(int speed) { speed_ = std::clamp(speed, minSpeed, maxSpeed); }

void DirectSS1::SetPitch(int pitch) { pitch_ = std::clamp(pitch, minPitch, maxPitch); }

void DirectSS1::SetCurrentMode(int mode) { mode_ = std::clamp(mode, minMode, maxMode); }

VoiceSettings DirectSS1::voiceSettings() const
{
    return {scale(speed_, minSpeed, maxSpeed, 80, 450), scale(pitch_, minPitch, maxPitch, 0, 99), mode_};
}

void DirectSS1::SpeakSelection()
{
    Stop();
    if (!box_)
        return;
    const QTextCursor selection = box_->textCursor();
    Speak(speechText(*box_->document(), selection.selectionStart(), selection.selectionEnd()));
    if (speaking_ && selection.hasSelection()) {
        selection_ = selection;
        caret_ = selection;
        caret_.setPosition(selection.selectionStart());
        box_->setTextCursor(caret_);
    }
}

void DirectSS1::Speak(const SpeechText& text)
{
    Stop();
    if (text.empty() || !box_)
        return;
    if (!audioDevices().available()) {
        seam::dialogs().message(box_, seam::messageTitle, noAudioDeviceMessage());
        return;
    }
    startThread();
    const quint64 id = ++*current_;
    words_ = text.words;
    setSpeaking(true);
    QMetaObject::invokeMethod(
        player_, [player = player_, id, text, settings = voiceSettings()] { player->play(id, text, settings); },
        Qt::QueuedConnection);
}

void DirectSS1::Stop()
{
    ++*current_;
    words_.clear();
    highlight(-1);
    setSpeaking(false);
    if (box_ && !selection_.isNull() && box_->textCursor() == caret_)
        box_->setTextCursor(selection_);
    selection_ = caret_ = QTextCursor();
}

SpokenWord DirectSS1::spokenWord() const
{
    return spoken_ >= 0 && spoken_ < int(words_.size()) ? words_[spoken_] : SpokenWord{};
}

void DirectSS1::startThread()
{
    if (thread_)
        return;
    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("speech"));
    player_ = new SpeechPlayer(current_);
    player_->moveToThread(thread_);
    connect(thread_, &QThread::finished, player_, &QObject::deleteLater);
    connect(player_, &SpeechPlayer::wordReached, this, &DirectSS1::onWord);
    connect(player_, &SpeechPlayer::finished, this, &DirectSS1::onFinished);
    connect(player_, &SpeechPlayer::failed, this, &DirectSS1::onFailed);
    thread_->start();
}

void DirectSS1::onWord(quint64 id, int word)
{
    if (id == current_->load() && speaking_)
        highlight(word);
}

void DirectSS1::onFinished(quint64 id)
{
    if (id == current_->load() && speaking_)
        Stop();
}

void DirectSS1::onFailed(quint64 id, const QString& message)
{
    if (id != current_->load() || !speaking_)
        return;
    Stop();
    seam::dialogs().message(box_, seam::messageTitle, message);
}

// The words being read move with the text typed or deleted before them.
void DirectSS1::onContentsChange(int position, int removed, int added)
{
    if (words_.empty() || removed == added)
        return;
    auto move = [&](int p) { return p < position ? p : p >= position + removed ? p + added - removed : position; };
    for (SpokenWord& word : words_) {
        word.start = move(word.start);
        word.end = move(word.end);
    }
}

void DirectSS1::setSpeaking(bool speaking)
{
    if (speaking == speaking_)
        return;
    speaking_ = speaking;
    if (box_) {
        if (speaking)
            box_->installEventFilter(this);
        else
            box_->removeEventFilter(this);
    }
    emit speakingChanged(speaking);
}

void DirectSS1::highlight(int word)
{
    spoken_ = word;
    if (box_)
        showSpokenWord(*box_, spokenWord());
}

bool DirectSS1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == box_ && speaking_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Stop();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tk::speech
