// The main frame: the menu tree, new documents and files named on the
// command line, the shared items, the closing question, arrangement,
// toolbar, status bar and word memory commands.
#include "frame_fixture.h"
#include "../support/test_files.h"

#include "app/frame/status_panels.h"
#include "document/rtf/document_io.h"
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
#include <QToolButton>

using tk::seam::DialogSeam;

namespace {

struct Expected {
    const char* name;
    const char* caption;
    const char* shortcut;
    const char* state; // "" or any of: disabled checked hidden
};

// The menu bar as a person sees it, top to bottom, menu by menu.
const Expected expectedTree[] = {
    {"file", "&File", "", ""}, {"new", "&New", "Ctrl+N", ""}, {"open", "&Open", "Ctrl+O", ""},
    {"Close1", "Close", "", "disabled"}, {"d", "", "", ""}, {"save", "&Save", "Ctrl+S", "disabled"},
    {"saveas", "Save &As", "", ""}, {"Saveall", "Save all", "", ""},
    {"Export_unicode", "Export as Unicode...", "", ""}, {"dd", "", "", ""},
    {"last", "", "", "hidden"}, {"a", "", "", "hidden"}, {"Print", "Print", "", ""},
    {"ddddddddddd", "", "", ""}, {"exit", "E&xit", "", ""},
    {"Editsf", "&Edit", "", ""}, {"cut", "Cu&t", "Ctrl+X", ""}, {"copy", "&Copy", "Ctrl+C", ""},
    {"paste", "&Paste", "Ctrl+V", ""}, {"kkkkkkkkkkkkk", "", "", ""},
    {"Cut_text", "Cut text only", "", ""}, {"Copy_text", "Copy text only", "Ctrl+D", ""},
    {"Copy_unicode", "Copy as Unicode", "", ""},
    {"paste_text", "Paste text only", "Ctrl+F", ""}, {"special", "Paste special", "Ctrl+G", ""},
    {"dddd", "", "", ""}, {"Delete", "&Delete", "", ""}, {"kkkkkkkkkkk", "", "", ""},
    {"find", "&Find", "", ""}, {"replace", "&Replace", "Ctrl+R", ""}, {"kkkkkkkk", "", "", ""},
    {"spellcheck", "Spell Check", "F2", ""},
    {"format", "For&mat", "", ""}, {"font", "&Font", "", ""}, {"colour", "Colour", "", ""},
    {"pppppp", "", "", ""}, {"Convert_document", "Convert a document", "F3", ""},
    {"dddddddd", "", "", ""}, {"convert", "&Tamil-English type", "Ctrl+Q", "checked"},
    {"Memory", "Memory Insert", "", ""}, {"let", "Insert", "Ctrl+I", ""}, {"Enter", "Enter", "", ""},
    {"Speech", "Speech", "", ""}, {"text", "Text to text &Speech", "Ctrl+T", ""},
    {"options", "&Options", "", ""},
    {"window", "&Window", "", ""}, {"newwindow", "New Window", "", ""}, {"g", "", "", ""},
    {"toolbar", "View ToolBar", "", "checked"}, {"statusbar", "View StatusBar", "", "checked"},
    {"ggg", "", "", ""}, {"cascade", "Cascade Windows", "", ""},
    {"vertically", "Tile windows vertically", "", ""},
    {"Horizontally", "Tile windows Horizontally", "", ""},
    {"help", "Help", "", ""}, {"about", "&About", "", ""}, {"Orbelant", "Orbelant", "", ""},
    {"gggggg", "", "", ""}, {"system", "S&ystem info", "", ""}, {"web", "&Web", "", ""},
    {"menu", "", "", "hidden"}, {"cut1", "Cut", "", ""}, {"copy1", "Copy", "", ""},
    {"paste1", "Paste", "", ""}, {"k", "", "", ""}, {"find1", "Find", "", ""},
    {"replace1", "Replace", "", ""}, {"kk", "", "", ""}, {"read", "Read &aloud", "", ""},
};

QString stateOf(const QAction* a)
{
    QStringList s;
    // A hidden action also reports itself disabled.
    if (!a->isEnabled() && a->isVisible())
        s << QStringLiteral("disabled");
    if (a->isChecked())
        s << QStringLiteral("checked");
    if (!a->isVisible())
        s << QStringLiteral("hidden");
    return s.join(u' ');
}

} // namespace

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    void captionAndMenuTree();
    void documentsAreNumberedForTheRun();
    void commandLineFilesEachInAWindowOfItsOwn();
    void saveAndClose1FollowChangesFocusAndClosing();
    void closingQuestion_data();
    void closingQuestion();
    void viewTogglesKeepCheckAndBarTogether();
    void tilingFillsTheArea_data();
    void tilingFillsTheArea();
    void windowsOpenInSight();
    void toolbarButtons();
    void statusPanelsAndInsertKey();
    void rightButtonPopsUpTheMenu();
    void insertStoresTheSelection_data();
    void insertStoresTheSelection();
    void enterShowsOneMemoryDialog();
};

void TestFrame::captionAndMenuTree()
{
    FrameFixture f;
    QCOMPARE(f.frame->windowTitle(), QStringLiteral("Tmil Kalvem"));
    QList<QAction*> shown;
    for (QAction* top : f.frame->menuBar()->actions()) {
        shown << top;
        shown << top->menu()->actions();
    }
    QCOMPARE(shown.size(), qsizetype(std::size(expectedTree)));
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const Expected& e = expectedTree[i];
        const QAction* a = shown[i];
        QCOMPARE(a->objectName(), QString::fromLatin1(e.name));
        QCOMPARE(a->isSeparator() ? QString() : a->text(), QString::fromLatin1(e.caption));
        QCOMPARE(a->shortcut().toString(), QString::fromLatin1(e.shortcut));
        QCOMPARE(stateOf(a), QString::fromLatin1(e.state));
    }
}

void TestFrame::documentsAreNumberedForTheRun()
{
    FrameFixture f;
    const int first = f.newDocument()->windowTitle().section(u' ', 1).toInt();
    QVERIFY(f.item("Close1")->isEnabled());
    f.newDocument();
    f.item("newwindow")->trigger();
    QCOMPARE(f.captions(), (QStringList{QStringLiteral("Document %1").arg(first),
                                              QStringLiteral("Document %1").arg(first + 1),
                                              QStringLiteral("Document %1").arg(first + 2)}));
    for (auto* form : f.frame->documents())
        QVERIFY(form->closeFor(tk::document::UnloadReason::ControlMenu));
    f.settle();
    QVERIFY(f.frame->documents().isEmpty());
    QCOMPARE(f.newDocument()->windowTitle(), QStringLiteral("Document %1").arg(first + 3));
}

// Each file named on the command line opens in a window of its own; one
// that cannot be read is told and leaves no window.
void TestFrame::commandLineFilesEachInAWindowOfItsOwn()
{
    QTemporaryDir dir;
    const QString one = dir.filePath("one.txt"), two = dir.filePath("two.rtf"), missing = dir.filePath("missing.rtf");
    writeBytes(one, "plain words\n");
    writeBytes(two, "{\\rtf1\\ansi rich words\\par}");
    FrameFixture f;
    QDir::setCurrent(dir.path());
    f.frame->openFiles({"one.txt", missing, two});
    f.settle();
    QCOMPARE(f.captions(), (QStringList{one, two}));
    const auto forms = f.frame->documents();
    QCOMPARE(forms[0]->RichTextBox1->Text().trimmed(), QStringLiteral("plain words"));
    QCOMPARE(forms[1]->RichTextBox1->Text().trimmed(), QStringLiteral("rich words"));
    const QStringList log = f.dialogs.take();
    QVERIFY2(log.size() == 1 && log[0].startsWith("message:Tamil Kalvem:") && log[0].contains(missing),
             qPrintable(log.join(u'\n')));
    QVERIFY(f.item("Close1")->isEnabled());
}

void TestFrame::saveAndClose1FollowChangesFocusAndClosing()
{
    FrameFixture f;
    auto* a = f.newDocument();
    QVERIFY(!f.item("save")->isEnabled());
    QTest::keyClicks(a->RichTextBox1, "ka");
    QVERIFY(f.item("save")->isEnabled());
    auto* b = f.newDocument();
    QVERIFY(!f.item("save")->isEnabled());
    f.frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(a->parentWidget()));
    QCOMPARE(f.frame->ActiveForm(), a);
    QVERIFY(f.item("save")->isEnabled());
    // Cancel keeps the window and its mark; closing again asks again, so the
    // text is never lost silently.
    f.dialogs.answers = {DialogSeam::Answer::Cancel, DialogSeam::Answer::No};
    QVERIFY(!a->closeFor(tk::document::UnloadReason::ControlMenu));
    QVERIFY(f.item("save")->isEnabled());
    QVERIFY(a->closeFor(tk::document::UnloadReason::ControlMenu));
    f.settle();
    QCOMPARE(f.dialogs.take().filter("question:").size(), 2);
    QCOMPARE(f.frame->ActiveForm(), b);
    QVERIFY(!f.item("save")->isEnabled());
    f.item("Close1")->trigger();
    f.settle();
    QVERIFY(!f.item("save")->isEnabled() && !f.item("Close1")->isEnabled());
}

void TestFrame::closingQuestion_data()
{
    QTest::addColumn<int>("changed"); // 0 none, 1 the older document only, 2 both
    QTest::addColumn<QString>("how"); // close, exit or session
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("fileAnswer"); // "" none, "-" cancelled, "bad" failing path
    QTest::addColumn<int>("remaining"); // document windows left; the frame closes when none
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("written");

    using A = DialogSeam::Answer;
    QTest::newRow("nothing unsaved") << 0 << "close" << QList<int>{} << "" << 0 << 0 << false;
    QTest::newRow("only the other changed: it asks") << 1 << "close" << QList<int>{int(A::No)} << "" << 0 << 1 << false;
    QTest::newRow("no: the other still asks") << 2 << "close" << QList<int>{int(A::No), int(A::No)} << "" << 0 << 2 << false;
    QTest::newRow("no, then cancel at the other") << 2 << "close" << QList<int>{int(A::No), int(A::Cancel)} << "" << 1 << 2
                                                  << false;
    QTest::newRow("cancel keeps all") << 2 << "close" << QList<int>{int(A::Cancel)} << "" << 2 << 1 << false;
    QTest::newRow("yes saves, then the other asks")
        << 2 << "close" << QList<int>{int(A::Yes), int(A::No)} << "ok" << 0 << 2 << true;
    QTest::newRow("yes, dialog cancelled") << 2 << "close" << QList<int>{int(A::Yes)} << "-" << 2 << 1 << false;
    QTest::newRow("yes, save fails") << 2 << "close" << QList<int>{int(A::Yes)} << "bad" << 2 << 1 << false;
    QTest::newRow("exit asks too") << 2 << "exit" << QList<int>{int(A::Cancel)} << "" << 2 << 1 << false;
    QTest::newRow("session ends") << 2 << "session" << QList<int>{} << "" << 0 << 0 << false;
}

void TestFrame::closingQuestion()
{
    QFETCH(int, changed);
    QFETCH(QString, how);
    QFETCH(QList<int>, answers);
    QFETCH(QString, fileAnswer);
    QFETCH(int, remaining);
    QFETCH(int, questions);
    QFETCH(bool, written);

    FrameFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.txt"));
    auto* first = f.newDocument();
    auto* second = f.newDocument();
    if (changed >= 1)
        QTest::keyClicks(first->RichTextBox1, QStringLiteral("ka"));
    if (changed >= 2)
        QTest::keyClicks(second->RichTextBox1, QStringLiteral("kaa"));
    const QString titles[] = {second->questionTitle(), first->questionTitle()};
    for (int a : answers)
        f.dialogs.answers.push_back(DialogSeam::Answer(a));
    f.dialogs.scriptSave(fileAnswer, path);

    if (how == QLatin1String("session"))
        f.frame->endBySession();
    else if (how == QLatin1String("exit"))
        f.item("exit")->trigger();
    else
        f.frame->close();
    f.settle();

    QCOMPARE(f.frame->isVisible(), remaining > 0);
    QCOMPARE(f.frame->documents().size(), remaining);
    const QStringList log = f.dialogs.take();
    const QStringList asked = log.filter(QStringLiteral("question:"));
    QCOMPARE(asked.size(), questions);
    // Each question names its document, and no document is asked twice.
    for (qsizetype i = 0; i < asked.size(); ++i) {
        const QString& title = titles[changed == 1 ? 1 : i];
        QVERIFY2(asked[i] == QStringLiteral("question:%1:Do you want to save before exit").arg(title), qPrintable(asked[i]));
    }
    QVERIFY2(log.filter(QStringLiteral("unexpected")).isEmpty(), qPrintable(log.join(u'\n')));
    QCOMPARE(QFile::exists(path), written);
    if (written) {
        QTextDocument saved;
        QVERIFY(tk::document::loadFile(saved, path));
        QCOMPARE(saved.toRawText(), QStringLiteral("fh")); // the active document's text
    }
    if (fileAnswer == QLatin1String("bad"))
        QVERIFY2(log.last().startsWith(QStringLiteral("message:")) && log.last().contains(QStringLiteral("folder/doc.txt")),
                 qPrintable(log.last()));
}

void TestFrame::viewTogglesKeepCheckAndBarTogether()
{
    FrameFixture f;
    const std::pair<const char*, QWidget*> toggles[] = {{"toolbar", f.frame->Toolbar1()},
                                                        {"statusbar", f.frame->StatusBar1()}};
    for (const auto& [name, bar] : toggles) {
        for (bool expected : {false, true}) {
            f.item(name)->trigger();
            QCOMPARE(f.item(name)->isChecked(), expected);
            QCOMPARE(bar->isVisible(), expected);
        }
    }
}

void TestFrame::tilingFillsTheArea_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("sideBySide");
    QTest::newRow("horizontally: stacked") << "Horizontally" << false;
    QTest::newRow("vertically: side by side") << "vertically" << true;
}

void TestFrame::tilingFillsTheArea()
{
    QFETCH(QString, item);
    QFETCH(bool, sideBySide);
    FrameFixture f;
    for (int i = 0; i < 3; ++i)
        f.newDocument();
    // Arranging keeps the indents of the text, and the sliders show them.
    tk::document::Form1* first = f.frame->documents().first();
    first->RichTextBox1->SetText(QStringLiteral("a long first paragraph"));
    first->Slider1->setValue(6000);
    first->Slider2->setValue(4500);
    auto indentsKept = [&] {
        return first->RichTextBox1->SelIndent() == 6000 && first->RichTextBox1->SelHangingIndent() == -1500
            && first->Slider1->value() == 6000 && first->Slider2->value() == 4500;
    };
    QVERIFY(indentsKept());
    f.frame->item(item)->trigger();
    QVERIFY(indentsKept());
    const QRect area = f.frame->mdiArea()->viewport()->rect();
    int covered = 0;
    const auto windows = f.frame->mdiArea()->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* sub : windows) {
        const QRect g = sub->geometry();
        QCOMPARE(sideBySide ? g.height() : g.width(), sideBySide ? area.height() : area.width());
        QCOMPARE(sideBySide ? g.left() : g.top(), covered);
        covered += sideBySide ? g.width() : g.height();
    }
    QCOMPARE(covered, sideBySide ? area.width() : area.height());
    f.item("cascade")->trigger();
    QVERIFY(windows[1]->geometry().topLeft() != windows[0]->geometry().topLeft());
    QVERIFY(indentsKept());
}

// New windows cascade from the top-left and stay inside what the frame
// shows; the frame takes its place from the screen or from the last run.
void TestFrame::windowsOpenInSight()
{
    FrameFixture f;
    const QRect area = f.frame->mdiArea()->viewport()->rect();
    QList<QPoint> corners;
    for (int i = 0; i < 12; ++i) {
        const QRect g = qobject_cast<QMdiSubWindow*>(f.newDocument()->parentWidget())->geometry();
        QVERIFY2(area.contains(g), qPrintable(QStringLiteral("%1: %2,%3 %4x%5").arg(i).arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())));
        QVERIFY(g.width() >= area.width() / 2 && g.height() >= area.height() / 2);
        corners << g.topLeft();
    }
    QCOMPARE(corners[0], QPoint(0, 0));
    QVERIFY(corners[1].x() > 0 && corners[1].x() == corners[1].y());
    QVERIFY(corners[2].x() > corners[1].x());

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

void TestFrame::toolbarButtons()
{
    FrameFixture f;
    QStringList tips;
    int groups = 1;
    for (QAction* a : f.frame->Toolbar1()->actions()) {
        if (a->isSeparator()) {
            ++groups;
            continue;
        }
        tips << a->toolTip();
        QVERIFY2(!a->icon().isNull(), qPrintable(a->toolTip()));
    }
    QCOMPARE(groups, 6);
    QCOMPARE(tips, (QStringList{"New", "Open", "Save", "Close", "Print", "Cut", "Copy", "Paste",
                                "Paste special", "Delete", "Find", "Spell Check", "Bold", "Italic",
                                "Underline", "Align Left", "Align Right", "Center", "Help"}));
    // A button is its menu item's command.
    f.frame->Toolbar1_ButtonClick("New");
    QCOMPARE(f.frame->documents().size(), 1);
}

void TestFrame::statusPanelsAndInsertKey()
{
    FrameFixture f;
    auto* panels = f.frame->statusPanels();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(panels->panel(i)->text(), (QStringList{"CAPS", "NUM", "INS"}[i]));
    QVERIFY(panels->panel(3)->text().isEmpty() && panels->panel(4)->text().isEmpty());
    QVERIFY(!panels->panel(5)->text().isEmpty() && !panels->panel(6)->text().isEmpty());
    auto* form = f.newDocument();
    QTest::keyClick(form->RichTextBox1, Qt::Key_Insert);
    QCOMPARE(panels->panel(2)->text(), QStringLiteral("OVR"));
    QTest::keyClick(form->RichTextBox1, Qt::Key_Insert);
    QCOMPARE(panels->panel(2)->text(), QStringLiteral("INS"));
}

void TestFrame::rightButtonPopsUpTheMenu()
{
    FrameFixture f;
    auto* form = f.newDocument();
    form->RichTextBox1->SetText(QStringLiteral("abc"));
    form->RichTextBox1->SetSelStart(1);
    QTest::mouseClick(form->RichTextBox1->viewport(), Qt::RightButton, {}, QPoint(40, 10));
    QTRY_VERIFY(f.frame->menu()->isVisible());
    QCOMPARE(form->RichTextBox1->SelStart(), 1);
    f.frame->menu()->close();
}

void TestFrame::insertStoresTheSelection_data()
{
    QTest::addColumn<QString>("answer"); // null: the box cancelled
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("readName");
    QTest::addColumn<QString>("stored");
    QTest::newRow("first character, lower case") << "Ab" << "jkpo;" << "A" << "jkpo;";
    QTest::newRow("cancelled") << QString() << "fh" << "c" << "";
    QTest::newRow("too long") << "d" << QString(255, u'f') << "d" << "";
    QTest::newRow("nothing selected") << "e" << "" << "e" << "";
}

void TestFrame::insertStoresTheSelection()
{
    QFETCH(QString, answer);
    QFETCH(QString, selection);
    QFETCH(QString, readName);
    QFETCH(QString, stored);
    FrameFixture f;
    TemporaryConfigFolder::removeStore();
    auto* form = f.newDocument();
    form->RichTextBox1->SetText(selection);
    form->RichTextBox1->selectAll();
    f.dialogs.inputs.push_back(answer);
    f.item("let")->trigger();
    QCOMPARE(tk::memory::ReadValue(QStringLiteral("tamilkalvem"), readName), stored);
    const QStringList log = f.dialogs.take();
    if (selection.isEmpty()) {
        // Said, and nothing asked or written: not even an empty settings file.
        QCOMPARE(log, QStringList{QStringLiteral("message:Tamil Kalvem:") + tk::memory::nothingSelectedMessage()});
        QVERIFY(!QFile::exists(tk::memory::storePath()));
        return;
    }
    QCOMPARE(log.first(), QStringLiteral("input:TamilKalvem:Please Enter the KEY-LETTER for the selected word "
                                         "to enter int the memmory eg. 'a'"));
    if (selection.size() > tk::memory::maxStoredLength)
        QCOMPARE(log.value(1), QStringLiteral("message:Tamil Kalvem:") + tk::memory::tooLongMessage());
    else
        QCOMPARE(log.size(), 1);
}

void TestFrame::enterShowsOneMemoryDialog()
{
    FrameFixture f;
    f.item("Enter")->trigger();
    QPointer<Form5> dialog = f.frame->form5();
    QVERIFY(dialog && dialog->isVisible());
    f.item("Enter")->trigger();
    QCOMPARE(f.frame->form5(), dialog.data());
    // A refused text reaches the person through the message seam.
    dialog->Text1->setText(QString(300, u'f'));
    dialog->Combo1->setCurrentIndex(0);
    dialog->Command1->click();
    QCOMPARE(f.dialogs.take(), QStringList{QStringLiteral("message:Tamil Kalvem:") + tk::memory::tooLongMessage()});
}

QTEST_MAIN(TestFrame)
#include "test_frame.moc"
