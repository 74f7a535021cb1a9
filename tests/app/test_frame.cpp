// The main frame: the menu tree, new documents and files named on the
// command line, the shared items, the closing question, arrangement,
// toolbar, status bar and word memory commands.
#include "frame_fixture.h"
#include "../support/test_files.h"

#include "app/frame/status_panels.h"
#include "memory/word_memory.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>

using tk::document::UnloadReason;
using A = tk::seam::DialogSeam::Answer;

namespace {

// The menu bar top to bottom, menu by menu: "name:caption:shortcut:state",
// state any of: disabled checked hidden.
const QStringList expectedTree = {
    "file:&File", "new:&New:Ctrl+N", "open:&Open:Ctrl+O", "Close1:Close::disabled", "d",
    "save:&Save:Ctrl+S:disabled", "saveas:Save &As", "Saveall:Save all", "Export_unicode:Export as Unicode...", "dd",
    "last:::hidden", "a:::hidden", "Print:Print", "ddddddddddd", "exit:E&xit", "Editsf:&Edit", "cut:Cu&t:Ctrl+X",
    "copy:&Copy:Ctrl+C", "paste:&Paste:Ctrl+V", "kkkkkkkkkkkkk", "Cut_text:Cut text only",
    "Copy_text:Copy text only:Ctrl+D", "Copy_unicode:Copy as Unicode", "paste_text:Paste text only:Ctrl+F",
    "special:Paste special:Ctrl+G", "dddd", "Delete:&Delete", "kkkkkkkkkkk", "find:&Find", "replace:&Replace:Ctrl+R",
    "kkkkkkkk", "spellcheck:Spell Check:F2", "format:For&mat", "font:&Font", "colour:Colour", "pppppp",
    "Convert_document:Convert a document:F3", "dddddddd", "convert:&Tamil-English type:Ctrl+Q:checked",
    "Memory:Memory Insert", "let:Insert:Ctrl+I", "Enter:Enter", "Speech:Speech", "text:Text to text &Speech:Ctrl+T",
    "options:&Options", "window:&Window", "newwindow:New Window", "g", "toolbar:View ToolBar::checked",
    "statusbar:View StatusBar::checked", "ggg", "cascade:Cascade Windows", "vertically:Tile windows vertically",
    "Horizontally:Tile windows Horizontally", "help:Help", "about:&About", "Orbelant:Orbelant", "gggggg",
    "system:S&ystem info", "web:&Web", "menu:::hidden", "cut1:Cut", "copy1:Copy", "paste1:Paste", "k", "find1:Find",
    "replace1:Replace", "kk", "read:Read &aloud"};

QString entryOf(const QAction* a)
{
    QStringList s;
    if (!a->isEnabled() && a->isVisible()) // a hidden action also reports itself disabled
        s << "disabled";
    if (a->isChecked())
        s << "checked";
    if (!a->isVisible())
        s << "hidden";
    QString entry = QStringList{a->objectName(), a->isSeparator() ? QString() : a->text(), a->shortcut().toString(),
                                s.join(u' ')}.join(u':');
    while (entry.endsWith(u':'))
        entry.chop(1);
    return entry;
}

QMdiSubWindow* windowOf(tk::document::Form1* form) { return qobject_cast<QMdiSubWindow*>(form->parentWidget()); }

} // namespace

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    void captionAndMenuTree()
    {
        FrameFixture f;
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("Tmil Kalvem"));
        QStringList shown;
        for (QAction* top : f.frame->menuBar()->actions()) {
            shown << entryOf(top);
            for (QAction* a : top->menu()->actions())
                shown << entryOf(a);
        }
        QCOMPARE(shown, expectedTree);
    }
    // Numbers go on for the run; Save follows the active document's changes,
    // Close1 whether there is one.
    void documentsAndTheSharedItems()
    {
        FrameFixture f;
        auto* a = f.newDocument();
        const int first = a->windowTitle().section(u' ', 1).toInt();
        QTest::keyClicks(a->RichTextBox1, "ka");
        f.newDocument();
        QVERIFY(!f.item("save")->isEnabled());
        f.item("newwindow")->trigger();
        const auto name = [first](int i) { return QStringLiteral("Document %1").arg(first + i); };
        QCOMPARE(f.captions(), (QStringList{name(0), name(1), name(2)}));
        f.frame->mdiArea()->setActiveSubWindow(windowOf(a));
        QVERIFY(f.item("save")->isEnabled());
        f.dialogs.answers = {A::No};
        QVERIFY(a->closeFor(UnloadReason::ControlMenu));
        f.settle();
        QVERIFY(!f.item("save")->isEnabled() && f.item("Close1")->isEnabled());
        for (int i = 0; i < 2; ++i) {
            f.item("Close1")->trigger();
            f.settle();
        }
        QVERIFY(f.frame->documents().isEmpty() && !f.item("save")->isEnabled() && !f.item("Close1")->isEnabled());
        QCOMPARE(f.newDocument()->windowTitle(), name(3));
    }
    // One that cannot be read is told and leaves no window.
    void commandLineFilesEachInAWindowOfItsOwn()
    {
        QTemporaryDir dir;
        const QString one = dir.filePath("one.txt"), two = dir.filePath("two.rtf");
        const QString missing = dir.filePath("missing.rtf");
        writeBytes(one, "plain words\n");
        writeBytes(two, "{\\rtf1\\ansi rich words\\par}");
        FrameFixture f;
        QDir::setCurrent(dir.path());
        f.frame->openFiles({"one.txt", missing, two});
        f.settle();
        QCOMPARE(f.captions(), (QStringList{one, two}));
        QStringList texts;
        for (auto* form : f.frame->documents())
            texts << form->RichTextBox1->Text().trimmed();
        QCOMPARE(texts, (QStringList{"plain words", "rich words"}));
        const QStringList log = f.dialogs.take();
        QVERIFY2(log.size() == 1 && log[0].startsWith("message:Tamil Kalvem:") && log[0].contains(missing),
                 qPrintable(log.join(u'\n')));
        QVERIFY(f.item("Close1")->isEnabled());
    }
    void closingQuestion_data()
    {
        QTest::addColumn<int>("changed"); // 0 none, 1 the older document only, 2 both
        QTest::addColumn<QString>("how"); // close, exit or session
        QTest::addColumn<QString>("answers"); // y(es) n(o) c(ancel), one a question
        QTest::addColumn<QString>("fileAnswer"); // "" none, "bad" failing path, else saved
        QTest::addColumn<int>("remaining"); // document windows left; the frame closes when none
        QTest::newRow("nothing unsaved") << 0 << "close" << "" << "" << 0;
        QTest::newRow("only the other changed: it asks") << 1 << "close" << "n" << "" << 0;
        QTest::newRow("no: the other still asks") << 2 << "close" << "nn" << "" << 0;
        QTest::newRow("no, then cancel at the other") << 2 << "close" << "nc" << "" << 1;
        QTest::newRow("cancel keeps all") << 2 << "close" << "c" << "" << 2;
        QTest::newRow("yes saves, then the other asks") << 2 << "close" << "yn" << "ok" << 0;
        QTest::newRow("yes, save fails: all stay") << 2 << "close" << "y" << "bad" << 2;
        QTest::newRow("exit asks too") << 2 << "exit" << "c" << "" << 2;
        QTest::newRow("session ends") << 2 << "session" << "" << "" << 0;
    }
    void closingQuestion()
    {
        QFETCH(int, changed);
        QFETCH(QString, how);
        QFETCH(QString, answers);
        QFETCH(QString, fileAnswer);
        QFETCH(int, remaining);
        FrameFixture f;
        QTemporaryDir dir;
        const QString path = dir.filePath("saved.txt");
        auto* first = f.newDocument();
        auto* second = f.newDocument();
        if (changed >= 1)
            QTest::keyClicks(first->RichTextBox1, "ka");
        if (changed >= 2)
            QTest::keyClicks(second->RichTextBox1, "kaa");
        const QString titles[] = {second->questionTitle(), first->questionTitle()};
        for (QChar a : answers)
            f.dialogs.answers.push_back(a == u'y' ? A::Yes : a == u'n' ? A::No : A::Cancel);
        f.dialogs.scriptSave(fileAnswer, path);
        if (how == "session")
            f.frame->endBySession();
        else if (how == "exit")
            f.item("exit")->trigger();
        else
            f.frame->close();
        f.settle();
        QCOMPARE(f.frame->isVisible(), remaining > 0);
        QCOMPARE(f.frame->documents().size(), remaining);
        // Each question names its document, and no document is asked twice.
        QStringList expected;
        for (qsizetype i = 0; i < answers.size(); ++i)
            expected << "question:" + titles[changed == 1 ? 1 : i] + ":Do you want to save before exit";
        const QStringList log = f.dialogs.take();
        QCOMPARE(log.filter("question"), expected);
        QCOMPARE(QFile::exists(path), fileAnswer == "ok");
        if (fileAnswer == "bad")
            QVERIFY2(log.last().startsWith("message:") && log.last().contains("folder/doc.txt"),
                     qPrintable(log.last()));
    }
    // Stacked, then side by side, each filling the area; cascading; all of it
    // keeping the indents of the text, and the sliders showing them.
    void arrangingFillsTheAreaAndKeepsIndents()
    {
        FrameFixture f;
        for (int i = 0; i < 3; ++i)
            f.newDocument();
        tk::document::Form1* first = f.frame->documents().first();
        first->RichTextBox1->SetText("a long first paragraph");
        first->Slider1->setValue(6000);
        first->Slider2->setValue(4500);
        const auto indentsKept = [&] {
            return first->RichTextBox1->SelIndent() == 6000 && first->RichTextBox1->SelHangingIndent() == -1500
                && first->Slider1->value() == 6000 && first->Slider2->value() == 4500;
        };
        const auto windows = f.frame->mdiArea()->subWindowList(QMdiArea::CreationOrder);
        for (const bool sideBySide : {false, true}) {
            f.item(sideBySide ? "vertically" : "Horizontally")->trigger();
            QVERIFY(indentsKept());
            const auto turned = [=](QRect r) { return sideBySide ? QRect(r.y(), r.x(), r.height(), r.width()) : r; };
            const QRect area = turned(f.frame->mdiArea()->viewport()->rect());
            int covered = 0;
            for (QMdiSubWindow* sub : windows) {
                const QRect g = turned(sub->geometry());
                QVERIFY2(g.width() == area.width() && g.top() == covered, sideBySide ? "side by side" : "stacked");
                covered += g.height();
            }
            QCOMPARE(covered, area.height());
        }
        f.item("cascade")->trigger();
        QVERIFY(windows[1]->geometry().topLeft() != windows[0]->geometry().topLeft());
        QVERIFY(indentsKept());
    }
    // New windows cascade from the top-left and stay inside what the frame
    // shows; the frame takes its place from the screen or from the last run.
    void windowsOpenInSight()
    {
        FrameFixture f;
        const QRect area = f.frame->mdiArea()->viewport()->rect();
        QList<QPoint> corners;
        for (int i = 0; i < 12; ++i) {
            const QRect g = windowOf(f.newDocument())->geometry();
            QVERIFY2(area.contains(g) && g.width() >= area.width() / 2 && g.height() >= area.height() / 2,
                     qPrintable(QString::number(i)));
            corners << g.topLeft();
        }
        QCOMPARE(corners[0], QPoint(0, 0));
        QVERIFY(corners[1].x() > 0 && corners[1].x() == corners[1].y() && corners[2].x() > corners[1].x());
        const QSize screen = QGuiApplication::primaryScreen()->size();
        QCOMPARE(f.frame->isMaximized(), screen.width() <= 1280 && screen.height() <= 800);
        for (auto* form : f.frame->documents())
            form->closeWithoutQuestion();
        f.frame->showNormal();
        f.frame->setGeometry(40, 50, 520, 410);
        QVERIFY(f.frame->close());
        tk::app::MDIForm1 next;
        QVERIFY(!next.isMaximized());
        QCOMPARE(next.geometry(), QRect(40, 50, 520, 410));
    }
    // The View items keep check and bar together; Insert switches the panel.
    void toolbarAndStatusBar()
    {
        FrameFixture f;
        QStringList tips;
        for (QAction* a : f.frame->Toolbar1()->actions())
            tips << (a->isSeparator() ? "|" : a->icon().isNull() ? "no icon" : a->toolTip());
        QCOMPARE(tips.join(','), QStringLiteral("New,Open,Save,Close,Print,|,Cut,Copy,Paste,Paste special,Delete,|,"
                                                "Find,Spell Check,|,Bold,Italic,Underline,|,Align Left,Align Right,"
                                                "Center,|,Help"));
        auto* panels = f.frame->statusPanels();
        QStringList texts;
        for (int i = 0; i < 7; ++i)
            texts << panels->panel(i)->text();
        QCOMPARE(texts.mid(0, 5), (QStringList{"CAPS", "NUM", "INS", "", ""}));
        QVERIFY(!texts[5].isEmpty() && !texts[6].isEmpty());
        auto* form = f.newDocument();
        for (const char* expected : {"OVR", "INS"}) {
            QTest::keyClick(form->RichTextBox1, Qt::Key_Insert);
            QCOMPARE(panels->panel(2)->text(), QString(expected));
        }
        const std::pair<const char*, QWidget*> toggles[] = {{"toolbar", f.frame->Toolbar1()},
                                                            {"statusbar", f.frame->StatusBar1()}};
        for (const auto& [name, bar] : toggles) {
            for (bool expected : {false, true}) {
                f.item(name)->trigger();
                QVERIFY2(f.item(name)->isChecked() == expected && bar->isVisible() == expected, name);
            }
        }
    }
    // The caret stays where it was.
    void rightButtonPopsUpTheMenu()
    {
        FrameFixture f;
        auto* form = f.newDocument();
        form->RichTextBox1->SetText("abc");
        form->RichTextBox1->SetSelStart(1);
        QTest::mouseClick(form->RichTextBox1->viewport(), Qt::RightButton, {}, QPoint(40, 10));
        QTRY_VERIFY(f.frame->menu()->isVisible());
        QCOMPARE(form->RichTextBox1->SelStart(), 1);
        f.frame->menu()->close();
    }
    // Insert stores the selection under the letter asked for; until then no
    // settings file is written, not even an empty one. Enter shows one dialog
    // however often asked for; a refused text is told through the seam.
    void memoryCommands()
    {
        using namespace tk::memory;
        FrameFixture f;
        TemporaryConfigFolder::removeStore();
        auto* box = f.newDocument()->RichTextBox1;
        const QString input = "input:TamilKalvem:Please Enter the KEY-LETTER for the selected word to enter int the "
                              "memmory eg. 'a'";
        const QString message = "message:Tamil Kalvem:";
        const std::tuple<QString, QString, QStringList> rows[] = {
            {"e", "", {message + nothingSelectedMessage()}}, {QString(), "fh", {input}}, // cancelled
            {"d", QString(255, u'f'), {input, message + tooLongMessage()}}, {"ab", "jkpo;", {input}}};
        for (const auto& [answer, selection, shown] : rows) {
            box->SetText(selection);
            box->selectAll();
            f.dialogs.inputs = {answer};
            f.item("let")->trigger();
            QCOMPARE(f.dialogs.take(), shown);
            QCOMPARE(QFile::exists(storePath()), answer == "ab");
        }
        QCOMPARE(ReadValue(memoryKey, "a"), QStringLiteral("jkpo;"));
        f.item("Enter")->trigger();
        QPointer<Form5> dialog = f.frame->form5();
        QVERIFY(dialog && dialog->isVisible());
        f.item("Enter")->trigger();
        QCOMPARE(f.frame->form5(), dialog.data());
        dialog->Text1->setText(QString(300, u'f'));
        dialog->Combo1->setCurrentIndex(0);
        dialog->Command1->click();
        QCOMPARE(f.dialogs.take(), QStringList{message + tooLongMessage()});
    }
};

QTEST_MAIN(TestFrame)
#include "test_frame.moc"
