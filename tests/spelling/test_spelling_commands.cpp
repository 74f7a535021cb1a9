// Spell Check from the frame: the Edit menu item, F2 and the toolbar key act
// on the active document.
#include "../app/frame_fixture.h"
#include "../support/text_pieces.h"

#include "spelling/spelling_dialog.h"

#include <QTemporaryDir>
#include <QToolBar>

class TestSpellingCommands : public QObject {
    Q_OBJECT
private slots:
    void spellCheckOpensOnTheActiveDocument_data();
    void spellCheckOpensOnTheActiveDocument();
};

void TestSpellingCommands::spellCheckOpensOnTheActiveDocument_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("menu") << "menu";
    QTest::newRow("F2") << "F2";
    QTest::newRow("toolbar") << "toolbar";
}

void TestSpellingCommands::spellCheckOpensOnTheActiveDocument()
{
    QFETCH(QString, how);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    FrameFixture f;
    auto run = [&] {
        if (how == QLatin1String("menu"))
            f.item("spellcheck")->trigger();
        else if (how == QLatin1String("F2"))
            QTest::keyClick(f.frame->ActiveForm()->RichTextBox1, Qt::Key_F2);
        else
            f.frame->Toolbar1_ButtonClick(QStringLiteral("Spell Check"));
    };
    // An empty document starts nothing, and says nothing (the log, below).
    tk::document::Form1* empty = f.newDocument();
    run();
    QVERIFY(!f.frame->spellingDialog() || !f.frame->spellingDialog()->isVisible());

    tk::document::Form1* form = f.newDocument();
    QVERIFY(form != empty);
    fill(*form->RichTextBox1, QStringLiteral("L:A quikc check"));
    run();
    tk::spelling::SpellingDialog* dialog = f.frame->spellingDialog();
    QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
    QCOMPARE(dialog->check()->box(), form->RichTextBox1);
    QCOMPARE(form->RichTextBox1->textCursor().selectedText(), QStringLiteral("quikc"));

    // Closing the document ends its check.
    form->closeWithoutQuestion();
    f.settle();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(f.dialogs.log, QStringList{});
    qunsetenv("XDG_DATA_HOME");
}

QTEST_MAIN(TestSpellingCommands)
#include "test_spelling_commands.moc"
