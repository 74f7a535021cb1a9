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

QList<int> settingsOf(tk::document::Form1* form)
{
    const DirectSS1& c = control(form);
    return {c.Speed(), c.Pitch(), c.CurrentMode()};
}

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
    void eachDocumentKeepsItsOwnSettings();
};

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
    // The document was only read, never changed.
    QCOMPARE(form->RichTextBox1->toPlainText(), text);
    QCOMPARE(form->RichTextBox1->document()->availableUndoSteps(), undoSteps);
    QCOMPARE(f.dialogs.log, QStringList{});
}

void TestSpeechCommands::options()
{
    FrameFixture f;
    // Ok with no document open just closes the dialog.
    openOptions(f)->Command1->click();
    f.settle();
    QVERIFY(!f.frame->form3());
    tk::document::Form1* form = f.newDocument();
    const QList<int> defaults = settingsOf(form);

    Form3* options = openOptions(f);
    QVERIFY(options && !options->isModal() && options->Command1->isDefault());
    // Speed, pitch and mode: minimum, maximum, steps; each starts at its minimum.
    const QScrollBar* bars[] = {options->HScroll1, options->HScroll2, options->HScroll3};
    const QList<QList<int>> ranges = {{30, 510, 5, 50}, {84, 338, 2, 10}, {1, 7, 1, 2}};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE((QList<int>{bars[i]->minimum(), bars[i]->maximum(), bars[i]->singleStep(), bars[i]->pageStep()}),
                 ranges[i]);
        QCOMPARE(bars[i]->value(), ranges[i][0]);
    }

    // Cancel changes nothing, whatever the bars say.
    options->HScroll1->setValue(300);
    options->Command2->click();
    f.settle();
    QVERIFY(!f.frame->form3());
    QCOMPARE(settingsOf(form), defaults);

    // Ok at once sets the start values; the next showing starts from them
    // again, not from the control's.
    openOptions(f)->Command1->click();
    QCOMPARE(settingsOf(form), (QList<int>{30, 84, 1}));
    options = openOptions(f);
    options->HScroll1->setValue(255);
    options->HScroll2->setValue(100);
    options->HScroll3->setValue(5);
    options->Command1->click();
    QCOMPARE(settingsOf(form), (QList<int>{255, 100, 5}));
    QCOMPARE(openOptions(f)->HScroll1->value(), 30);
    QCOMPARE(f.dialogs.log, QStringList{});
}

// Documents A and B read the same text, A at the highest speed set through
// Options: B keeps its own speed, so its reading is much longer.
void TestSpeechCommands::eachDocumentKeepsItsOwnSettings()
{
    FakeAudio audio;
    audio.pace = 20;
    FrameFixture f;
    tk::document::Form1* a = f.newDocument();
    tk::document::Form1* b = f.newDocument();
    f.frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(a->parentWidget()));
    QCOMPARE(f.frame->ActiveForm(), a);
    Form3* options = openOptions(f);
    options->HScroll1->setValue(510);
    options->Command1->click();
    QCOMPARE(control(a).Speed(), 510);
    QCOMPARE(control(b).Speed(), DirectSS1(*b->RichTextBox1).Speed());

    QList<qint64> bytes;
    for (tk::document::Form1* form : {a, b}) {
        fill(*form->RichTextBox1, QStringLiteral("L:Each document keeps its own speed."));
        selectAll(*form->RichTextBox1);
        f.frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(form->parentWidget()));
        const qint64 before = audio.written.load();
        f.item("text")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!control(form).isSpeaking(), 10000);
        bytes << audio.written.load() - before;
    }
    QVERIFY2(bytes[0] * 2 < bytes[1], qPrintable(QStringLiteral("%1 and %2 bytes").arg(bytes[0]).arg(bytes[1])));
}

QTEST_MAIN(TestSpeechCommands)
#include "test_speech_commands.moc"
