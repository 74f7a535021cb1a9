// The spell check of a 1 MB document without stopping: every word found,
// converted and looked up, Tamil and English mixed, with fresh dictionaries
// (nothing looked up before) and again with the words seen once.
#include "document/rich_text_box.h"
#include "spelling/checked_words.h"
#include "spelling/spell_checker.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextCursor>

#include <cstdio>

namespace {

// About 1 MB: lines of Tamil words in the display font, some misspelt, with
// an English sentence in a Latin font after every fourth line.
void fillDocument(QTextDocument& document, qsizetype bytes)
{
    static const char* const tamilWords[] = {"jkpo;", "tzf;fk;", "ed;wp",  "mk;kh",    "ehd;",   "cyfk;",
                                             "ghly;", "nkhop",   "tdf;fk;", "gs;spf;$lk;", "fy;tp", "Gj;jfk;"};
    static const char* const english = "The quick brown fox jumps over the lazzy dog near the river bank.";
    QTextCharFormat tamil, latin;
    tamil.setFontFamilies({QStringLiteral("Kolvani")});
    latin.setFontFamilies({QStringLiteral("DejaVu Sans")});
    QTextCursor cursor(&document);
    qsizetype size = 0;
    for (int line = 0; size < bytes; ++line) {
        QString text;
        for (int i = 0; i < 10; ++i)
            text += QString::fromLatin1(tamilWords[(line * 7 + i * 5) % std::size(tamilWords)]) + u' ';
        cursor.insertText(text, tamil);
        size += text.size();
        if (line % 4 == 3) {
            cursor.insertText(QString::fromLatin1(english), latin);
            size += qsizetype(std::strlen(english));
        }
        cursor.insertBlock();
        ++size;
    }
}

void pass(const char* what, QTextDocument& document, tk::spelling::SpellChecker& checker)
{
    QElapsedTimer timer;
    timer.start();
    long words = 0, misspelt = 0;
    tk::spelling::forEachCheckedWord(document, 0, document.characterCount() - 1,
                                     [&](const tk::spelling::CheckedWord& word) {
                                         ++words;
                                         misspelt += !checker.check(word.language, word.unicode);
                                         return true;
                                     });
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("spell check of %.1f MB, %s: %ld words (%ld misspelt) in %.2f s, %.0f words/s\n",
                document.characterCount() / 1e6, what, words, misspelt, seconds, words / seconds);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    tk::document::RichTextBox box;
    fillDocument(*box.document(), 1'000'000);
    tk::spelling::SpellChecker checker;
    pass("fresh dictionaries", *box.document(), checker);
    pass("words seen before", *box.document(), checker);
    return 0;
}
