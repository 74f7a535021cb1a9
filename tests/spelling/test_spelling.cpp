// The spelling dialog: display-font words against the Tamil dictionary,
// Latin ones against the English one, corrections made in place.
#include "../support/scripted_dialogs.h"
#include "../support/text_pieces.h"

#include "document/rich_text_box.h"
#include "engine/tamil_unicode.h"
#include "spelling/spelling_dialog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tk::spelling;

namespace {

// வனக்கம் and the bold தமில் are misspelt, and so is "quikc"; நான் and the
// other English words are not. The two Tamil words come back at the end.
const QString misspelt = QStringLiteral("K:tdf;fk; |B:jkpy;|K: ehd; |L:The quikc fox. |K:tdf;fk; jkpy;");

QString unicodeOf(const QString& codes)
{
    return QString::fromStdString(tk::engine::codesToUnicode(codes.toLatin1().toStdString()));
}

// A box, a dialog and dictionaries with the personal list in a temporary
// data folder, the dialogs scripted.
struct Check {
    QTemporaryDir data;
    ScriptedDialogs dialogs;
    tk::document::RichTextBox box;
    SpellingDialog dialog;
    std::unique_ptr<SpellChecker> checker;

    explicit Check(const QString& pieces, DictionarySetup setup = {})
    {
        qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
        checker = std::make_unique<SpellChecker>(setup);
        fill(box, pieces);
        box.document()->clearUndoRedoStacks();
    }
    ~Check() { qunsetenv("XDG_DATA_HOME"); }

    void start() { dialog.start(box, *checker); }
    // The word shown, as the document writes it; "" when the check is over.
    QString shown() const { return dialog.isVisible() && dialog.check() ? dialog.check()->word().text : QString(); }
    void change(QPushButton* button, const QString& to)
    {
        dialog.changeTo->setText(to);
        button->click();
    }
    QString text() const { return box.toPlainText(); }
    bool boldAt(int position) const
    {
        QTextCursor at(box.document());
        at.setPosition(position + 1);
        return at.charFormat().fontWeight() == QFont::Bold;
    }
};

} // namespace

class TestSpelling : public QObject {
    Q_OBJECT
private slots:
    void checkedWords_data();
    void checkedWords();
    void sessions_data();
    void sessions();
    void addToDictionaryLastsIntoANewCheck();
    void aWordEditedMeanwhileIsLookedAtAfresh();
    void missingDictionaryIsTold();
    void phoneticMisspellingSuggestsTheWordInTheDisplayFont_data();
    void phoneticMisspellingSuggestsTheWordInTheDisplayFont();
    void tamilSuggestionsSurviveTheCodes();
};

void TestSpelling::checkedWords_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("Tamil and English") << "K:tdf;fk; ehd;|L: The fox" << QStringList{"ta:வனக்கம்", "ta:நான்", "en:The", "en:fox"};
    QTest::newRow("fonts meet without a space") << "K:ehd;|L:abc" << QStringList{"ta:நான்", "en:abc"};
    QTest::newRow("formatting inside a word") << "B:td|K:f;fk;" << QStringList{"ta:" + unicodeOf("tdf;fk;")};
    QTest::newRow("digits and underscores") << "L:2nd word_x 42|K: ehd;2 jkpo;" << QStringList{"ta:தமிழ்"};
    QTest::newRow("apostrophes inside English words") << "L:don't it’s dogs' 'tis"
                                                     << QStringList{"en:don't", "en:it's", "en:dogs", "en:tis"};
    QTest::newRow("Latin letters with accents") << "L:naïve café" << QStringList{"en:naïve", "en:café"};
    QTest::newRow("other scripts in a Latin font") << "L:Привет мир ok" << QStringList{"en:ok"};
    QTest::newRow("a symbol font") << "S:abc|L: abc" << QStringList{"en:abc"};
    QTest::newRow("paragraphs end words") << "L:ab\ncd" << QStringList{"en:ab", "en:cd"};
}

void TestSpelling::checkedWords()
{
    QFETCH(QString, document);
    QFETCH(QStringList, words);
    tk::document::RichTextBox box;
    fill(box, document);
    QStringList got, spans;
    forEachCheckedWord(*box.document(), 0, box.document()->characterCount() - 1, [&](const CheckedWord& w) {
        got << (w.language == Language::Tamil ? QStringLiteral("ta:") : QStringLiteral("en:")) + w.unicode;
        if (box.toPlainText().mid(w.start, w.end - w.start) != w.text)
            spans << w.text;
        return true;
    });
    QCOMPARE(got, words);
    QCOMPARE(spans, QStringList{});
}

// Steps: i Ignore, I Ignore All, c:x Change to x, C:x Change All to x, esc.
void TestSpelling::sessions_data()
{
    QTest::addColumn<QPoint>("selection"); // checked span; (0, 0): the whole document
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("shown"); // the word shown before each step
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("changed"); // in the closing message; -1: none (closed with Escape)
    QTest::addColumn<int>("undos");
    QTest::addColumn<QString>("undone");
    const QPoint all;
    QTest::newRow("change, one undo step each") << all << "c:tzf;fk; c:jkpo; esc" << "tdf;fk; jkpy; quikc"
        << "tzf;fk; jkpo; ehd; The quikc fox. tdf;fk; jkpy;" << -1
        << 1 << "tzf;fk; jkpy; ehd; The quikc fox. tdf;fk; jkpy;";
    QTest::newRow("ignore all skips later copies") << all << "I i i i" << "tdf;fk; jkpy; quikc jkpy;"
        << "tdf;fk; jkpy; ehd; The quikc fox. tdf;fk; jkpy;" << 0 << 0 << "";
    QTest::newRow("change all, one undo step") << all << "C:tzf;fk; C:jkpo; c:quick" << "tdf;fk; jkpy; quikc"
        << "tzf;fk; jkpo; ehd; The quick fox. tzf;fk; jkpo;" << 5
        << 2 << "tzf;fk; jkpy; ehd; The quikc fox. tzf;fk; jkpy;";
    // From the middle of "The" to the middle of "quikc": both words whole.
    QTest::newRow("selection only") << QPoint(20, 25) << "c:quick" << "quikc"
        << "tdf;fk; jkpy; ehd; The quick fox. tdf;fk; jkpy;" << 1 << 0 << "";
}

void TestSpelling::sessions()
{
    QFETCH(QPoint, selection);
    QFETCH(QString, steps);
    QFETCH(int, changed);
    QFETCH(int, undos);
    Check c(misspelt);
    QTextCursor selected(c.box.document());
    selected.setPosition(selection.x());
    selected.setPosition(selection.y(), QTextCursor::KeepAnchor);
    c.box.setTextCursor(selected);
    c.start();
    QStringList shown;
    for (const QString& step : steps.split(u' ')) {
        shown << c.shown();
        // The word shown is selected in the document.
        QCOMPARE(c.box.textCursor().selectedText(), c.shown());
        const QString to = step.mid(2);
        if (step == QLatin1String("i"))
            c.dialog.ignoreButton->click();
        else if (step == QLatin1String("I"))
            c.dialog.ignoreAllButton->click();
        else if (step == QLatin1String("esc"))
            QTest::keyClick(&c.dialog, Qt::Key_Escape);
        else
            c.change(step.startsWith(u'C') ? c.dialog.changeAllButton : c.dialog.changeButton, to);
    }
    QCOMPARE(c.shown(), QString());
    QVERIFY(!c.dialog.isVisible() && !c.dialog.check());
    QTEST(shown.join(u' '), "shown");
    QTEST(c.text(), "text");
    const QString done = changed == 1 ? QStringLiteral("1 word was changed.")
                                      : QStringLiteral("%1 words were changed.").arg(changed);
    QCOMPARE(c.dialogs.log, changed < 0 ? QStringList{}
                                        : QStringList{"message:Tamil Kalvem:The spelling check is complete. " + done});
    if (!selection.isNull()) // the person's selection comes back
        QCOMPARE(c.box.textCursor().selectionStart(), selection.x());
    for (int i = 0; i < undos; ++i)
        c.box.undo();
    if (undos)
        QTEST(c.text(), "undone");
    // The bold word stays bold, its neighbours stay as they were.
    QVERIFY(c.boldAt(8) && c.boldAt(12));
    QVERIFY(!c.boldAt(7) && !c.boldAt(13) && !c.boldAt(0));
}

void TestSpelling::addToDictionaryLastsIntoANewCheck()
{
    Check c(misspelt);
    c.start();
    c.dialog.ignoreAllButton->click();
    c.dialog.addButton->click(); // தமில், a Tamil word
    c.dialog.addButton->click(); // quikc
    QCOMPARE(c.shown(), QString());
    QVERIFY(QFileInfo(c.checker->personalWordList()).absoluteFilePath().startsWith(c.data.path()));
    // New dictionaries read the personal list: only the ignored word is shown.
    c.checker = std::make_unique<SpellChecker>();
    c.dialogs.take();
    c.start();
    QCOMPARE(c.shown(), QStringLiteral("tdf;fk;"));
    c.dialog.ignoreButton->click();
    c.dialog.ignoreButton->click();
    QCOMPARE(c.shown(), QString());
}

// The dialog is modeless: the person may correct the word in the document
// themselves before pressing Change.
void TestSpelling::aWordEditedMeanwhileIsLookedAtAfresh()
{
    Check c(misspelt);
    c.start();
    QTextCursor edit(c.box.document());
    edit.setPosition(1);
    edit.setPosition(2, QTextCursor::KeepAnchor);
    edit.insertText(QStringLiteral("z"));
    c.change(c.dialog.changeButton, QStringLiteral("xxx"));
    QVERIFY(!c.text().contains(QStringLiteral("xxx")));
    QCOMPARE(c.shown(), QStringLiteral("jkpy;"));
    // Text typed before a word shown moves it along.
    QTextCursor(c.box.document()).insertText(QStringLiteral("ehd; "));
    c.change(c.dialog.changeButton, QStringLiteral("jkpo;"));
    QCOMPARE(c.text(), QStringLiteral("ehd; tzf;fk; jkpo; ehd; The quikc fox. tdf;fk; jkpy;"));
}

void TestSpelling::missingDictionaryIsTold()
{
    DictionarySetup noTamil;
    noTamil.tamil = QStringLiteral("xx_NONE");
    Check c(misspelt, noTamil);
    QVERIFY(!c.checker->has(Language::Tamil));
    c.start();
    QCOMPARE(c.dialogs.log,
             QStringList{"message:Tamil Kalvem:The Tamil spelling dictionary \"xx_NONE\" is not installed (Debian "
                         "package aspell-ta). Only the English words are checked."});
    QCOMPARE(c.shown(), QStringLiteral("quikc"));

    DictionarySetup neither = noTamil;
    neither.english = QStringLiteral("yy_NONE");
    Check none(misspelt, neither);
    none.start();
    QCOMPARE(none.dialogs.log.size(), 1);
    QVERIFY(none.dialogs.log[0].contains(QStringLiteral("(Debian package hunspell-en-us)")));
    QVERIFY(!none.dialog.isVisible());
}

void TestSpelling::phoneticMisspellingSuggestsTheWordInTheDisplayFont_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("meant");
    QTest::newRow("vanakkam: n for ண") << "tdf;fk;" << "tzf;fk;";
    QTest::newRow("thamil: l for ழ") << "jkpy;" << "jkpo;";
}

// The word meant comes first, ahead of the dictionary's own favourites.
void TestSpelling::phoneticMisspellingSuggestsTheWordInTheDisplayFont()
{
    QFETCH(QString, typed);
    QFETCH(QString, meant);
    Check c(QStringLiteral("K:") + typed);
    c.start();
    QCOMPARE(c.shown(), typed);
    QVERIFY(c.dialog.suggestionList->count() > 1);
    QCOMPARE(c.dialog.suggestionList->item(0)->text(), meant);
    QCOMPARE(c.dialog.changeTo->text(), meant);
    QCOMPARE(c.dialog.suggestionList->font().family(), QStringLiteral("Kolvani"));
    QCOMPARE(c.dialog.changeTo->font().family(), QStringLiteral("Kolvani"));
}

// Every suggestion offered for a Tamil word is a dictionary suggestion that
// the codes write exactly.
void TestSpelling::tamilSuggestionsSurviveTheCodes()
{
    SpellChecker checker;
    int offered = 0, given = 0;
    for (const char* word : {"tdf;fk;", "jkpy;", "gs;spf;$lk;", "nghUs;", "fz;fpdp", "ciuahly;", "nfs;tp"}) {
        const QString unicode = unicodeOf(QString::fromLatin1(word));
        const QStringList raw = checker.suggest(Language::Tamil, unicode);
        const QStringList codes = tamilSuggestions(checker, unicode);
        for (const QString& suggestion : codes) {
            QVERIFY2(raw.contains(unicodeOf(suggestion)), qPrintable(suggestion));
            const auto back = tk::engine::unicodeToCodes(unicodeOf(suggestion).toStdString());
            QCOMPARE(QString::fromLatin1(back.codes.data(), qsizetype(back.codes.size())), suggestion);
        }
        offered += int(codes.size());
        given += int(raw.size());
    }
    // Only the rare suggestion the codes cannot hold is left out.
    QVERIFY2(offered * 10 >= given * 9, qPrintable(QStringLiteral("%1 of %2").arg(offered).arg(given)));
}

QTEST_MAIN(TestSpelling)
#include "test_spelling.moc"
