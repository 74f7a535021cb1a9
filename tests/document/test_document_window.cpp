// The document window: its closing question, the modified mark, the indent
// sliders, loading into it and its find.
#include "form_fixture.h"
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
    void closingQuestion_data();
    void closingQuestion();
    void focusCopiesModifiedIntoSave();
    void changedMarkFollowsTheDocument();
    void slidersFollowWidthAndSetIndents();
    void loadingReplacesTheWholeDocument();
    void selectionRtfPastesAtTheCaret();
    void findHonoursOptions_data();
    void findHonoursOptions();
};

void TestDocumentWindow::closingQuestion_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("fileAnswer"); // "" none, "-" dialog cancelled, "bad" a failing path
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QStringList>("shown");

    const QString ask = QStringLiteral("question:");
    const QString save = QStringLiteral("save:");
    const int cm = int(UnloadReason::ControlMenu);
    QTest::newRow("yes saves and closes") << cm << int(DialogSeam::Answer::Yes) << "doc.txt" << true << true
                                          << QStringList{ask, save};
    QTest::newRow("yes, dialog cancelled: stays") << cm << int(DialogSeam::Answer::Yes) << "-" << false << false
                                                  << QStringList{ask, save};
    QTest::newRow("yes, save fails: says so, stays")
        << cm << int(DialogSeam::Answer::Yes) << "bad" << false << false
        << QStringList{ask, save, QStringLiteral("message")};
    QTest::newRow("no closes unsaved") << cm << int(DialogSeam::Answer::No) << "" << true << false << QStringList{ask};
    QTest::newRow("cancel stays") << cm << int(DialogSeam::Answer::Cancel) << "" << false << false
                                  << QStringList{ask};
    QTest::newRow("session end: no question") << int(UnloadReason::TaskManager) << -1 << "" << true << false
                                              << QStringList{};
}

void TestDocumentWindow::closingQuestion()
{
    QFETCH(int, reason);
    QFETCH(int, answer);
    QFETCH(QString, fileAnswer);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    QFETCH(QStringList, shown);

    FormFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.txt"));
    f.type("kaa");
    QVERIFY(f.save.isEnabled());
    if (answer >= 0)
        f.dialogs.answers.push_back(DialogSeam::Answer(answer));
    f.dialogs.scriptSave(fileAnswer, path);

    QCOMPARE(f.form->closeFor(UnloadReason(reason)), closes);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(f.form.isNull(), closes);
    QCOMPARE(QFile::exists(path), written);
    if (written) {
        QTextDocument saved;
        QVERIFY(tk::document::loadFile(saved, path));
        QCOMPARE(saved.toRawText(), QStringLiteral("fh"));
    }
    const QStringList log = f.dialogs.take();
    QCOMPARE(log.size(), shown.size());
    for (qsizetype i = 0; i < log.size(); ++i)
        QVERIFY2(log[i].startsWith(shown[i]), qPrintable(log[i]));
    if (fileAnswer == QLatin1String("bad"))
        QVERIFY2(log.last().contains(QStringLiteral("missing/folder/doc.txt")), qPrintable(log.last()));
    // The question names the document. A window that stays keeps its mark,
    // and closing it again asks again.
    if (!shown.isEmpty())
        QCOMPARE(log.first(), QStringLiteral("question:File 1- Tamil Kalvem - Tamil Kalvem:Do you want to save before exit"));
    if (!closes) {
        QVERIFY(f.form->hasUnsavedChanges() && f.save.isEnabled());
        f.dialogs.answers.push_back(DialogSeam::Answer::No);
        QVERIFY(f.form->closeFor(UnloadReason::ControlMenu));
        QCOMPARE(f.dialogs.take().size(), 1);
    }
}

void TestDocumentWindow::focusCopiesModifiedIntoSave()
{
    FormFixture f;
    f.type("k");
    QVERIFY(f.form->hasUnsavedChanges());
    f.save.setEnabled(false); // as another window leaves it
    f.form->Form_GotFocus();
    QVERIFY(f.save.isEnabled());
    QVERIFY(f.close1.isEnabled());
    QPointer<tk::document::Form1> other = f.newForm();
    other->Form_GotFocus();
    QVERIFY(!f.save.isEnabled());
    delete other.data();
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
    QCOMPARE(indent->maximum(), box->pixelsToTwips(600));
    QCOMPARE(hanging->maximum(), box->pixelsToTwips(600));
    // Each slider shows its caption before it and reaches the window's right
    // edge; the text surface stays inside the window below them.
    for (QSlider* slider : {indent, hanging}) {
        auto* caption = f.form->findChild<QLabel*>(slider->objectName() + QStringLiteral("Caption"));
        QVERIFY(caption && caption->isVisible());
        QCOMPARE(caption->text(), slider->toolTip());
        QVERIFY(caption->geometry().right() < slider->geometry().left());
        QCOMPARE(slider->geometry().right(), 599);
    }
    QCOMPARE(indent->toolTip(), QStringLiteral("Indent"));
    QCOMPARE(hanging->toolTip(), QStringLiteral("Hanging Indent"));
    QVERIFY(box->geometry().bottom() < f.form->height());
    QVERIFY(box->geometry().top() >= hanging->geometry().bottom());

    box->SetText(QStringLiteral("first\nsecond"));
    box->SetSelStart(0);
    indent->setValue(1440);
    QCOMPARE(box->SelIndent(), 1440);
    hanging->setValue(2160);
    QCOMPARE(box->SelHangingIndent(), 720);
    QCOMPARE(box->SelIndent(), 1440);
    // Left of the Indent slider: the following lines start left of the first.
    hanging->setValue(720);
    QCOMPARE(box->SelHangingIndent(), -720);
    QCOMPARE(box->SelIndent(), 1440);
    // The first line takes the following lines with it, and the Hanging
    // Indent slider follows them.
    indent->setValue(2000);
    QCOMPARE(box->SelIndent(), 2000);
    QCOMPARE(box->SelHangingIndent(), -720);
    QCOMPARE(hanging->value(), 1280);
    // The sliders show the paragraph at the caret.
    box->SetSelStart(box->Text().size());
    QCOMPARE(indent->value(), 0);
    QCOMPARE(hanging->value(), 0);
    box->SetSelStart(0);
    QCOMPARE(indent->value(), 2000);
    QCOMPARE(hanging->value(), 1280);
    // A narrower window changes no indent, and the sliders still show them.
    f.form->resize(60, 400);
    QCoreApplication::processEvents();
    QCOMPARE(box->SelIndent(), 2000);
    QCOMPARE(box->SelHangingIndent(), -720);
    QCOMPARE(indent->value(), 2000);
    QCOMPARE(hanging->value(), 1280);
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

void TestDocumentWindow::selectionRtfPastesAtTheCaret()
{
    FormFixture f, g;
    f.box()->SetText(QStringLiteral("abcd\nefg"));
    select(f.box(), 1, 3);
    f.box()->SetSelBold(true);
    g.box()->SetText(QStringLiteral("xy"));
    g.box()->SetSelStart(1);
    QVERIFY(g.box()->SetSelRTF(f.box()->SelRTF()).ok);
    QCOMPARE(g.box()->Text(), QStringLiteral("xbcy"));
    QCOMPARE(g.box()->SelStart(), 3); // after what went in
    QCOMPARE(g.box()->SelBold(), std::optional(true));
}

void TestDocumentWindow::findHonoursOptions_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("found");
    QTest::newRow("plain") << "ka" << 0 << -1 << 0 << 0;
    QTest::newRow("from a start") << "ka" << 1 << -1 << 0 << 3;
    QTest::newRow("match case") << "KA" << 0 << -1 << 4 << 9;
    QTest::newRow("whole word") << "ka" << 0 << -1 << 2 << 6;
    QTest::newRow("past the end") << "KA" << 0 << 5 << 4 << -1;
    QTest::newRow("absent") << "zz" << 0 << -1 << 0 << -1;
}

void TestDocumentWindow::findHonoursOptions()
{
    QFETCH(QString, word);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, options);
    QFETCH(int, found);
    FormFixture f;
    f.box()->SetText(QStringLiteral("kaaka ka KA"));
    QCOMPARE(f.box()->Find(word, start, end, options), found);
    if (found >= 0)
        QCOMPARE(f.box()->SelText().size(), word.size());
}

QTEST_MAIN(TestDocumentWindow)
#include "test_document_window.moc"
