// The document window: its closing question, the modified mark, the indent
// sliders, loading into it and its find.
#include "form_fixture.h"
#include "../support/test_files.h"

#include "document/rtf/document_io.h"

#include <QFile>
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

    const QString ask = QStringLiteral("question:Tamil Kalvem:Do you want to save before exit");
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
    // The save item is cleared, unless the save failed: that text is still
    // unsaved, and closing again asks again. After another refusal the item
    // comes back with the focus, and closing again right away asks nothing.
    const bool failed = fileAnswer == QLatin1String("bad");
    QCOMPARE(f.save.isEnabled(), failed);
    if (failed) {
        QVERIFY(f.form->hasUnsavedChanges());
        QCOMPARE(f.form->RichTextBox1->toPlainText(), QStringLiteral("fh"));
        f.dialogs.answers.push_back(DialogSeam::Answer::No);
        QVERIFY(f.form->closeFor(UnloadReason::ControlMenu));
        QCOMPARE(f.dialogs.take().size(), 1);
    } else if (!closes) {
        QVERIFY(f.form->closeFor(UnloadReason::ControlMenu));
        QVERIFY(f.dialogs.take().isEmpty());
    }
}

void TestDocumentWindow::focusCopiesModifiedIntoSave()
{
    FormFixture f;
    f.type("k");
    QVERIFY(f.form->modified);
    f.save.setEnabled(false); // as a save leaves it
    f.form->Form_GotFocus();
    QVERIFY(f.save.isEnabled());
    QVERIFY(f.close1.isEnabled());
    QPointer<tk::document::Form1> other = f.newForm();
    other->Form_GotFocus();
    QVERIFY(!f.save.isEnabled());
    delete other.data();
}

void TestDocumentWindow::slidersFollowWidthAndSetIndents()
{
    FormFixture f;
    tk::document::RichTextBox* box = f.box();
    f.form->resize(600, 400);
    QCoreApplication::processEvents();
    QCOMPARE(f.form->Slider1->maximum(), box->pixelsToTwips(600));
    QCOMPARE(f.form->Slider2->maximum(), box->pixelsToTwips(600));
    // The sliders span the window and the text surface stays inside it.
    QCOMPARE(f.form->Slider1->width(), 600);
    QVERIFY(box->geometry().bottom() < f.form->height());
    QVERIFY(box->geometry().top() >= f.form->Slider2->geometry().bottom());

    box->SetText(QStringLiteral("first\nsecond"));
    box->SetSelStart(0);
    f.form->Slider1->setValue(1440);
    QCOMPARE(box->SelIndent(), 1440);
    f.form->Slider2->setValue(2160);
    QCOMPARE(box->SelHangingIndent(), 720);
    QCOMPARE(box->SelIndent(), 1440);
    // Left of the Indent slider: the following lines start left of the first.
    f.form->Slider2->setValue(720);
    QCOMPARE(box->SelHangingIndent(), -720);
    QCOMPARE(box->SelIndent(), 1440);
    // A narrower window clamps the slider values to the new width.
    f.form->resize(60, 400);
    QCoreApplication::processEvents();
    QCOMPARE(f.form->Slider1->value(), f.form->Slider1->maximum());
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
        f.form->modified = false;
        f.save.setEnabled(false);
        QVERIFY(box->LoadFile(path).ok);
        QCOMPARE(box->Text(), QStringLiteral("jkpo;\nfh"));
        // A change like any other; the text it replaced is not one undo
        // away, and typing goes on in the loaded text's look, not in that of
        // the old caret.
        QVERIFY(f.form->modified && f.save.isEnabled());
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
