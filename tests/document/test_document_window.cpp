// The document window: its closing question, the modified mark, the indent
// sliders and loading into it.
#include "form_fixture.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "document/rtf/document_io.h"

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>

using tk::seam::DialogSeam;
using tk::document::UnloadReason;

class TestDocumentWindow : public QObject {
    Q_OBJECT
private slots:
    void closingQuestion();
    void changedMarkFollowsTheDocument();
    void slidersFollowWidthAndSetIndents();
    void loadingReplacesTheWholeDocument();
};

// Every answer is played through the frame's closing (tests/app); here the
// window alone: the question names the document, a window that stays keeps
// its mark and asks again, and a session's end asks nothing.
void TestDocumentWindow::closingQuestion()
{
    FormFixture f;
    f.type("kaa");
    f.dialogs.answers = {DialogSeam::Answer::Cancel, DialogSeam::Answer::No};
    QVERIFY(!f.form->closeFor(UnloadReason::ControlMenu));
    QVERIFY(f.form->hasUnsavedChanges() && f.save.isEnabled());
    QVERIFY(f.form->closeFor(UnloadReason::ControlMenu));
    QCOMPARE(f.dialogs.take(), QStringList(2, "question:File 1- Tamil Kalvem - Tamil Kalvem:Do you want to save before exit"));
    FormFixture g;
    g.type("kaa");
    QVERIFY(g.form->closeFor(UnloadReason::TaskManager));
    QVERIFY(g.dialogs.take().isEmpty());
}

// Changed exactly while the text or its formatting differs from what was
// last loaded or saved; the save item and the signal follow.
void TestDocumentWindow::changedMarkFollowsTheDocument()
{
    FormFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.rtf"));
    tk::document::RichTextBox* box = f.box();
    QSignalSpy changes(f.form, &tk::document::Form1::modificationChanged);
    auto changed = [&](bool expected) {
        return f.form->hasUnsavedChanges() == expected && f.save.isEnabled() == expected
            && !changes.isEmpty() && changes.last().first().toBool() == expected;
    };
    QVERIFY(!f.form->hasUnsavedChanges() && !f.save.isEnabled());
    f.type("kaa");
    QVERIFY(changed(true));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(box->Text().isEmpty() && changed(false));
    f.type("ka");
    QVERIFY(f.form->saveTo(path));
    QVERIFY(changed(false));
    QCOMPARE(f.form->windowTitle(), path);
    // Formatting alone is a change; undoing it is back to the saved state.
    box->selectAll();
    box->SetSelBold(true);
    QVERIFY(changed(true));
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(changed(false));
    f.type("k");
    QVERIFY(changed(true));
    QVERIFY(box->LoadFile(path).ok);
    QVERIFY(changed(false));
    // The loaded document is watched like the first.
    f.type("k");
    QVERIFY(changed(true));
}

void TestDocumentWindow::slidersFollowWidthAndSetIndents()
{
    FormFixture f;
    tk::document::RichTextBox* box = f.box();
    QSlider* indent = f.form->Slider1;
    QSlider* hanging = f.form->Slider2;
    f.form->resize(600, 400);
    QCoreApplication::processEvents();
    // Each slider reaches the window's right edge with its caption before it;
    // the text surface stays inside the window below them.
    for (const auto& [slider, caption] : {std::pair{indent, "Indent"}, std::pair{hanging, "Hanging Indent"}}) {
        QCOMPARE(slider->maximum(), box->pixelsToTwips(600));
        QCOMPARE(slider->geometry().right(), 599);
        QCOMPARE(slider->toolTip(), QString(caption));
        auto* label = f.form->findChild<QLabel*>(slider->objectName() + QStringLiteral("Caption"));
        QVERIFY(label && label->isVisible() && label->text() == QString(caption));
        QVERIFY(label->geometry().right() < slider->geometry().left());
    }
    QVERIFY(box->geometry().bottom() < f.form->height());
    QVERIFY(box->geometry().top() >= hanging->geometry().bottom());

    box->SetText(QStringLiteral("first\nsecond"));
    box->SetSelStart(0);
    // The paragraph's indents, then where the two sliders stand.
    const auto shows = [&](int first, int hangingIndent, int indentAt, int hangingAt) {
        return box->SelIndent() == first && box->SelHangingIndent() == hangingIndent && indent->value() == indentAt
            && hanging->value() == hangingAt;
    };
    indent->setValue(1440);
    hanging->setValue(2160);
    QVERIFY(shows(1440, 720, 1440, 2160));
    // Left of the Indent slider: the following lines start left of the first.
    hanging->setValue(720);
    QVERIFY(shows(1440, -720, 1440, 720));
    // The first line takes the following lines with it.
    indent->setValue(2000);
    QVERIFY(shows(2000, -720, 2000, 1280));
    // The sliders show the paragraph at the caret.
    box->SetSelStart(box->Text().size());
    QVERIFY(shows(0, 0, 0, 0));
    box->SetSelStart(0);
    QVERIFY(shows(2000, -720, 2000, 1280));
    // A narrower window changes no indent, and the sliders still show them.
    f.form->resize(60, 400);
    QCoreApplication::processEvents();
    QVERIFY(shows(2000, -720, 2000, 1280));
}

void TestDocumentWindow::loadingReplacesTheWholeDocument()
{
    FormFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plain.txt"));
    writeBytes(path, "jkpo;\r\nfh");
    tk::document::RichTextBox* box = f.box();
    for (int load = 0; load < 2; ++load) {
        f.type("kaa");
        box->selectAll();
        box->SetSelBold(true);
        box->SetSelStart(box->Text().size());
        QVERIFY(box->LoadFile(path).ok);
        QCOMPARE(box->Text(), QStringLiteral("jkpo;\nfh"));
        // Loaded text is unchanged; the text it replaced is not one undo
        // away, and typing goes on in the loaded text's look, not in that of
        // the old caret.
        QVERIFY(!f.form->hasUnsavedChanges() && !f.save.isEnabled());
        QVERIFY(!box->document()->isUndoAvailable());
        QCOMPARE(box->document()->defaultFont().family(), QStringLiteral("Kolvani"));
        QCOMPARE(box->document()->defaultFont().pointSizeF(), 14.25);
        QCOMPARE(box->SelStart(), 0);
        QCOMPARE(f.type("ka"), QByteArray("fjkpo;\nfh"));
        QCOMPARE(box->SelBold(), std::optional(false));
    }
    QVERIFY(!box->LoadFile(dir.filePath(QStringLiteral("gone.rtf"))).ok);
    QCOMPARE(box->Text(), QStringLiteral("fjkpo;\nfh"));
}

QTEST_MAIN(TestDocumentWindow)
#include "test_document_window.moc"
