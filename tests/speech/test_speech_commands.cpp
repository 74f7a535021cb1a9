// The speech commands of the frame: Text to text Speech and Read aloud on
// the active document, and the Options dialog.
#include "fake_audio.h"
#include "../support/text_pieces.h"
#include "../app/frame_fixture.h"

#include "speech/direct_ss1.h"
#include "speech/form3.h"

#include <QPushButton>
#include <QScrollBar>

using tk::speech::DirectSS1;
using tk::speech::Form3;

namespace {

DirectSS1& control(tk::document::Form1* form) { return DirectSS1::of(*form->RichTextBox1); }

QList<int> settingsOf(tk::document::Form1* f) { return {control(f).Speed(), control(f).Pitch(), control(f).CurrentMode()}; }

Form3* openOptions(FrameFixture& f)
{
    f.item("options")->trigger();
    Form3* options = f.frame->form3();
    return options && options->isVisible() ? options : nullptr;
}

} // namespace

class TestSpeechCommands : public QObject {
    Q_OBJECT
private slots:
    void textAndReadSpeakTheSelectionAndStopOnSecondPress();
    void options();
};

// The document is only read, never changed.
void TestSpeechCommands::textAndReadSpeakTheSelectionAndStopOnSecondPress()
{
    FakeAudio audio;
    FrameFixture f;
    tk::document::Form1* form = f.newDocument();
    fill(*form->RichTextBox1, QStringLiteral("K:") + QStringLiteral("ehd; jkpo; ").repeated(20));
    selectAll(*form->RichTextBox1);
    const QString text = form->RichTextBox1->toPlainText();
    const int undoSteps = form->RichTextBox1->document()->availableUndoSteps();
    for (const char* command : {"text", "read"}) {
        f.item(command)->trigger();
        QVERIFY2(control(form).isSpeaking(), command);
        QTRY_COMPARE(audio.live.load(), 1);
        f.item(command)->trigger();
        QVERIFY(!control(form).isSpeaking());
        QTRY_COMPARE(audio.live.load(), 0);
    }
    QCOMPARE(form->RichTextBox1->toPlainText(), text);
    QCOMPARE(form->RichTextBox1->document()->availableUndoSteps(), undoSteps);
    QCOMPARE(f.dialogs.log, QStringList{});
}

// Options set the active document only: read at the highest speed, its text
// takes much less sound than the same text in another document.
void TestSpeechCommands::options()
{
    FakeAudio audio;
    audio.pace = 20;
    FrameFixture f;
    auto close = [&](QPushButton* button) {
        button->click();
        f.settle();
        QVERIFY(!f.frame->form3());
    };
    close(openOptions(f)->Command1); // Ok with no document open
    tk::document::Form1* form = f.newDocument();
    tk::document::Form1* other = f.newDocument();
    auto activate = [&](tk::document::Form1* which) {
        f.frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(which->parentWidget()));
        QCOMPARE(f.frame->ActiveForm(), which);
    };
    activate(form);
    const QList<int> defaults = settingsOf(form);
    Form3* options = openOptions(f);
    QVERIFY(options && !options->isModal() && options->Command1->isDefault());
    // Cancel changes nothing, whatever the bars say.
    options->HScroll1->setValue(300);
    close(options->Command2);
    QCOMPARE(settingsOf(form), defaults);
    // Ok at once sets the start values, each bar's minimum; the next showing
    // starts from them again, not from the control's. The highest values hold.
    openOptions(f)->Command1->click();
    QCOMPARE(settingsOf(form), (QList<int>{30, 84, 1}));
    options = openOptions(f);
    for (auto [bar, value] : {std::pair{options->HScroll1, 510}, {options->HScroll2, 338}, {options->HScroll3, 7}})
        bar->setValue(value);
    options->Command1->click();
    QCOMPARE(settingsOf(form), (QList<int>{510, 338, 7}));
    QCOMPARE(openOptions(f)->HScroll1->value(), 30);
    close(f.frame->form3()->Command2);
    QList<qint64> bytes;
    for (tk::document::Form1* each : {form, other}) {
        fill(*each->RichTextBox1, QStringLiteral("L:Each document keeps its own speed."));
        selectAll(*each->RichTextBox1);
        activate(each);
        const qint64 before = audio.written.load();
        f.item("text")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!control(each).isSpeaking(), 10000);
        bytes << audio.written.load() - before;
    }
    QVERIFY2(bytes[0] * 2 < bytes[1], qPrintable(QStringLiteral("%1 and %2 bytes").arg(bytes[0]).arg(bytes[1])));
    QCOMPARE(f.dialogs.log, QStringList{});
}

QTEST_MAIN(TestSpeechCommands)
#include "test_speech_commands.moc"
