// Spell Check from the frame: the Edit menu item, F2 and the toolbar key act
// on the active document; an empty one starts nothing and says nothing, and
// closing the document ends its check.
#include "../app/frame_fixture.h"
#include "../support/text_pieces.h"

#include "spelling/spelling_dialog.h"

#include <QTemporaryDir>

class TestSpellingCommands : public QObject {
    Q_OBJECT
private slots:
    void spellCheckOpensOnTheActiveDocument();
};

void TestSpellingCommands::spellCheckOpensOnTheActiveDocument()
{
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    const std::function<void(FrameFixture&)> ways[] = {
        [](FrameFixture& f) { f.item("spellcheck")->trigger(); },
        [](FrameFixture& f) { QTest::keyClick(f.frame->ActiveForm()->RichTextBox1, Qt::Key_F2); },
        [](FrameFixture& f) { f.frame->Toolbar1_ButtonClick(QStringLiteral("Spell Check")); },
    };
    for (const auto& run : ways) {
        FrameFixture f;
        f.newDocument();
        run(f);
        QVERIFY(!f.frame->spellingDialog() || !f.frame->spellingDialog()->isVisible());
        tk::document::Form1* form = f.newDocument();
        fill(*form->RichTextBox1, QStringLiteral("L:A quikc check"));
        run(f);
        tk::spelling::SpellingDialog* dialog = f.frame->spellingDialog();
        QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
        QCOMPARE(dialog->check()->box(), form->RichTextBox1);
        QCOMPARE(form->RichTextBox1->textCursor().selectedText(), QStringLiteral("quikc"));
        form->closeWithoutQuestion();
        f.settle();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(f.dialogs.log, QStringList{});
    }
    qunsetenv("XDG_DATA_HOME");
}

QTEST_MAIN(TestSpellingCommands)
#include "test_spelling_commands.moc"
