#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

namespace tk::spelling {

enum class Language { Tamil, English };

// Which dictionaries to use, and where the person's own words are kept.
struct DictionarySetup {
    QString tamil = QStringLiteral("ta");
    QString english = QStringLiteral("en_US");
    // One list for both languages; "" for the one in the user's data folder.
    QString personalWordList;
};

// The user's own word list in their data folder.
QString defaultPersonalWordList();

// The dictionaries through Enchant. Words are Unicode here: Tamil words are
// converted from and to the font codes by the caller.
class SpellChecker {
public:
    explicit SpellChecker(DictionarySetup setup = {});
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    bool has(Language language) const;
    // What is missing and which Debian package brings it; "" when nothing is.
    QString missingMessage() const;

    // True for a word the dictionary, the personal list or Ignore All knows;
    // also for every word of a language whose dictionary is missing.
    bool check(Language language, const QString& word);
    QStringList suggest(Language language, const QString& word);
    // Skips the word for the rest of the run.
    void ignoreAll(const QString& word);
    // Keeps the word in the personal list; false when it could not be written.
    bool add(const QString& word);
    QString personalWordList() const { return setup_.personalWordList; }

private:
    struct Impl;
    DictionarySetup setup_;
    std::unique_ptr<Impl> d_;
    QSet<QString> ignored_;
};

} // namespace tk::spelling
