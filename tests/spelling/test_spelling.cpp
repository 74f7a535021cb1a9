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
    void checkedWords();
    void sessions();
    void addToDictionaryLastsIntoANewCheck();
    void aWordEditedMeanwhileIsLookedAtAfresh();
    void missingDictionaryIsTold();
    void tamilSuggestionsSurviveTheCodes();
};

// "!" marks a word whose span is not its place in the document.
void TestSpelling::checkedWords()
{
    const struct { const char* document; QStringList words; } rows[] = {
        {"K:tdf;fk; ehd;|L: The fox", {"ta:வனக்கம்", "ta:நான்", "en:The", "en:fox"}},
        {"K:ehd;|L:abc", {"ta:நான்", "en:abc"}}, // fonts meet without a space
        {"B:td|K:f;fk;", {"ta:" + unicodeOf("tdf;fk;")}}, // formatting inside a word
        {"L:2nd word_x 42|K: ehd;2 jkpo;", {"ta:தமிழ்"}},
        {"L:don't it’s dogs' 'tis", {"en:don't", "en:it's", "en:dogs", "en:tis"}},
        {"L:naïve Привет café ok", {"en:naïve", "en:café", "en:ok"}}, // other scripts in a Latin font
        {"S:abc|L: ab\ncd", {"en:ab", "en:cd"}},                     // a symbol font; paragraphs
    };
    for (const auto& r : rows) {
        tk::document::RichTextBox box;
        fill(box, QString::fromUtf8(r.document));
        QStringList got;
        forEachCheckedWord(*box.document(), 0, box.document()->characterCount() - 1, [&](const CheckedWord& w) {
            got << (w.language == Language::Tamil ? QStringLiteral("ta:") : QStringLiteral("en:")) + w.unicode
                       + (box.toPlainText().mid(w.start, w.end - w.start) == w.text ? "" : "!");
            return true;
        });
        QCOMPARE(got, r.words);
    }
}

// Steps: i Ignore, I Ignore All, c Change to the first suggestion, c:x Change
// to x, C:x Change All to x, esc.
// Rows: checked span ((0, 0): all), steps, the word shown before each step,
// text after, the closing message ("": closed with Escape), undo steps, text
// after them. The bold word stays bold, its neighbours not.
void TestSpelling::sessions()
{
    const struct { QPoint selection; const char *steps, *shown, *text, *done; int undos; const char* undone; } rows[] = {
        // Typed phonetically, vanakkam with n for ண, thamil with l for ழ: the word meant comes first.
        {{}, "c c esc", "tdf;fk; jkpy; quikc", "tzf;fk; jkpo; ehd; The quikc fox. tdf;fk; jkpy;", "", 1,
         "tzf;fk; jkpy; ehd; The quikc fox. tdf;fk; jkpy;"},
        {{}, "I i i i", "tdf;fk; jkpy; quikc jkpy;", "tdf;fk; jkpy; ehd; The quikc fox. tdf;fk; jkpy;",
         "0 words were changed.", 0, ""},
        {{}, "C:tzf;fk; C:jkpo; c:quick", "tdf;fk; jkpy; quikc", "tzf;fk; jkpo; ehd; The quick fox. tzf;fk; jkpo;",
         "5 words were changed.", 2,
         "tzf;fk; jkpy; ehd; The quikc fox. tzf;fk; jkpy;"},
        // From the middle of "The" to the middle of "quikc": both words whole.
        {{20, 25}, "c:quick", "quikc", "tdf;fk; jkpy; ehd; The quick fox. tdf;fk; jkpy;",
         "1 word was changed.", 0, ""},
    };
    for (const auto& r : rows) {
        Check c(misspelt);
        QTextCursor selected(c.box.document());
        selected.setPosition(r.selection.x());
        selected.setPosition(r.selection.y(), QTextCursor::KeepAnchor);
        c.box.setTextCursor(selected);
        c.start();
        QStringList shown;
        for (const QString& step : QString::fromLatin1(r.steps).split(u' ')) {
            shown << c.shown();
            QCOMPARE(c.box.textCursor().selectedText(), c.shown());
            if (step == QLatin1String("c"))
                QCOMPARE(c.dialog.suggestionList->font().family() + c.dialog.changeTo->font().family(), "KolvaniKolvani");
            if (step.size() > 2)
                c.dialog.changeTo->setText(step.mid(2));
            if (step == QLatin1String("esc"))
                QTest::keyClick(&c.dialog, Qt::Key_Escape);
            else
                (step[0] == u'i' ? c.dialog.ignoreButton : step[0] == u'I' ? c.dialog.ignoreAllButton
                 : step[0] == u'c' ? c.dialog.changeButton : c.dialog.changeAllButton)->click();
        }
        QVERIFY(!c.dialog.isVisible() && !c.dialog.check());
        if (!r.selection.isNull()) // the person's selection comes back
            QCOMPARE(c.box.textCursor().selectionStart(), r.selection.x());
        const QString after = c.box.toPlainText();
        for (int i = 0; i < r.undos; ++i)
            c.box.undo();
        const QString closing = *r.done ? "message:Tamil Kalvem:The spelling check is complete. " + QString(r.done) : "";
        QCOMPARE((QStringList{shown.join(u' '), after, c.dialogs.log.join(u'|'), r.undos ? c.box.toPlainText() : ""}),
                 (QStringList{r.shown, r.text, closing, r.undone}));
        QVERIFY(c.boldAt(8) && c.boldAt(12) && !c.boldAt(7) && !c.boldAt(13) && !c.boldAt(0));
    }
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
    QVERIFY(!c.box.toPlainText().contains(QStringLiteral("xxx")));
    QCOMPARE(c.shown(), QStringLiteral("jkpy;"));
    // Text typed before a word shown moves it along.
    QTextCursor(c.box.document()).insertText(QStringLiteral("ehd; "));
    c.change(c.dialog.changeButton, QStringLiteral("jkpo;"));
    QCOMPARE(c.box.toPlainText(), QStringLiteral("ehd; tzf;fk; jkpo; ehd; The quikc fox. tdf;fk; jkpy;"));
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
    noTamil.english = QStringLiteral("yy_NONE");
    Check none(misspelt, noTamil);
    none.start();
    QVERIFY(none.dialogs.log.size() == 1 && none.dialogs.log[0].contains(QStringLiteral("(Debian package hunspell-en-us)")));
    QVERIFY(!none.dialog.isVisible());
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
            const auto back = tk::engine::unicodeToCodes(unicodeOf(suggestion).toStdString()).codes;
            QVERIFY2(raw.contains(unicodeOf(suggestion)) && QLatin1String(back.data(), qsizetype(back.size())) == suggestion,
                     qPrintable(suggestion));
        }
        offered += int(codes.size());
        given += int(raw.size());
    }
    // Only the rare suggestion the codes cannot hold is left out.
    QVERIFY2(offered * 10 >= given * 9, qPrintable(QStringLiteral("%1 of %2").arg(offered).arg(given)));
}

QTEST_MAIN(TestSpelling)
#include "test_spelling.moc"
