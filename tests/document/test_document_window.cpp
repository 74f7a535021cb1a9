// The document window: closing question, changed mark, indent sliders, loading.
#include "form_fixture.h"
#include "../support/test_files.h"

#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>

#include <functional>

using tk::seam::DialogSeam;
using tk::document::UnloadReason;

class TestDocumentWindow : public QObject {
    Q_OBJECT
private slots:
    // A window that stays keeps its mark and asks again (the frame's tests play every answer and the session's end).
    void closingQuestion()
    {
        FormFixture f;
        f.type("kaa");
        f.dialogs.answers = {DialogSeam::Answer::Cancel, DialogSeam::Answer::No};
        QVERIFY(!f.form->closeFor(UnloadReason::ControlMenu));
        QVERIFY(f.form->hasUnsavedChanges() && f.save.isEnabled());
        QVERIFY(f.form->closeFor(UnloadReason::ControlMenu));
        QCOMPARE(f.dialogs.take(), QStringList(2, "question:File 1- Tamil Kalvem - Tamil Kalvem:Do you want to save before exit"));
    }

    // Changed exactly while the text or its formatting differs from what was
    // last loaded or saved; the save item and the signal follow.
    void changedMarkFollowsTheDocument()
    {
        FormFixture f;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.rtf"));
        tk::document::RichTextBox* box = f.box();
        QSignalSpy changes(f.form, &tk::document::Form1::modificationChanged);
        QList<bool> marks;
        auto mark = [&] {
            const bool changed = f.form->hasUnsavedChanges();
            marks << changed;
            return changed == f.save.isEnabled() && (changes.isEmpty() ? !changed : changes.last().first().toBool() == changed);
        };
        const std::function<void()> steps[] = {
            [] {}, [&] { f.type("kaa"); }, [&] { f.undo(); f.undo(); f.undo(); },
            [&] { f.type("ka"); QVERIFY(f.form->saveTo(path)); }, [&] { box->selectAll(); box->SetSelBold(true); },
            [&] { f.undo(); }, [&] { f.type("k"); }, [&] { QVERIFY(box->LoadFile(path).ok); },
            [&] { f.type("k"); }, // the loaded document is watched like the first
        };
        for (const auto& step : steps) {
            step();
            QVERIFY(mark());
        }
        QCOMPARE(marks, (QList<bool>{false, true, false, false, true, false, true, false, true}));
        QCOMPARE(f.form->windowTitle(), path);
    }

    void slidersFollowWidthAndSetIndents()
    {
        FormFixture f;
        tk::document::RichTextBox* box = f.box();
        QSlider* indent = f.form->Slider1;
        QSlider* hanging = f.form->Slider2;
        f.form->resize(600, 400);
        QCoreApplication::processEvents();
        // Each slider reaches the right edge with its caption before it; the text
        // surface stays inside the window below them.
        for (const auto& [slider, caption] : {std::pair{indent, "Indent"}, std::pair{hanging, "Hanging Indent"}}) {
            QVERIFY(slider->maximum() == box->pixelsToTwips(600) && slider->geometry().right() == 599);
            QCOMPARE(slider->toolTip(), QString(caption));
            auto* label = f.form->findChild<QLabel*>(slider->objectName() + QStringLiteral("Caption"));
            QVERIFY(label && label->isVisible() && label->text() == QString(caption));
            QVERIFY(label->geometry().right() < slider->geometry().left());
        }
        QVERIFY(box->geometry().bottom() < f.form->height() && box->geometry().top() >= hanging->geometry().bottom());
        box->SetText(QStringLiteral("first\nsecond"));
        box->SetSelStart(0);
        // First-line and hanging indents of the paragraph, then the two sliders.
        const auto shows = [&] {
            return QList<int>{box->SelIndent(), box->SelHangingIndent(), indent->value(), hanging->value()};
        };
        indent->setValue(1440);
        hanging->setValue(2160);
        QCOMPARE(shows(), (QList<int>{1440, 720, 1440, 2160}));
        hanging->setValue(720); // left of Indent: the following lines start left of the first
        QCOMPARE(shows(), (QList<int>{1440, -720, 1440, 720}));
        indent->setValue(2000); // the first line takes the following lines with it
        const QList<int> moved{2000, -720, 2000, 1280};
        QCOMPARE(shows(), moved);
        box->SetSelStart(box->Text().size());
        QCOMPARE(shows(), (QList<int>{0, 0, 0, 0}));
        box->SetSelStart(0);
        QCOMPARE(shows(), moved);
        f.form->resize(60, 400); // a narrower window changes no indent
        QCoreApplication::processEvents();
        QCOMPARE(shows(), moved);
    }

    // Loaded text is unchanged; the text it replaced is not one undo away, and
    // typing goes on in the loaded text's look, not in that of the old caret.
    void loadingReplacesTheWholeDocument()
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
            QCOMPARE(f.withCaret(), QStringLiteral("|jkpo;\nfh"));
            QVERIFY(!f.form->hasUnsavedChanges() && !f.save.isEnabled() && !box->document()->isUndoAvailable());
            const QFont font = box->document()->defaultFont();
            QVERIFY(font.family() == QStringLiteral("Kolvani") && font.pointSizeF() == 14.25);
            QCOMPARE(f.type("ka"), QByteArray("fjkpo;\nfh"));
            QCOMPARE(box->SelBold(), std::optional(false));
        }
        QVERIFY(!box->LoadFile(dir.filePath(QStringLiteral("gone.rtf"))).ok);
        QCOMPARE(box->Text(), QStringLiteral("fjkpo;\nfh"));
        // Cancelled once read, while the document is built: the shown one stays.
        writeBytes(dir.filePath("big.rtf"), "{\\rtf1 " + QByteArray("fh\\par ").repeated(10000) + "}");
        QVERIFY(!box->LoadFile(dir.filePath("big.rtf"), tk::document::RichTextFile, [](double done) { return done < 0.35; }).ok);
        QCOMPARE(box->Text(), QStringLiteral("fjkpo;\nfh"));
    }
};

QTEST_MAIN(TestDocumentWindow)
#include "test_document_window.moc"
