#include "spell_check.h"

#include "document/rtf/qt_formats.h"
#include "document/words.h"
#include "engine/tamil_unicode.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <vector>

namespace tk::spelling {

namespace {

// How far the sentence shown around a word reaches on either side at most.
constexpr int sentenceReach = 200;

bool endsSentence(QChar c) { return c == u'.' || c == u'!' || c == u'?'; }

// The format of the character at position: what a word written there keeps.
QTextCharFormat formatAt(QTextDocument& document, int position)
{
    QTextCursor at(&document);
    at.setPosition(position + 1);
    return at.charFormat();
}

// Letters that typing on a Latin keyboard easily mixes up: "n" for ண or
// ந, "l" for ள or ழ, "r" for ற, a short vowel for its long one.
int confusableGroup(char32_t c)
{
    static constexpr char32_t groups[][3] = {
        {0x0BA9, 0x0BA3, 0x0BA8}, {0x0BB2, 0x0BB3, 0x0BB4}, {0x0BB0, 0x0BB1, 0}, {0x0BBF, 0x0BC0, 0},
        {0x0BC1, 0x0BC2, 0},      {0x0BC6, 0x0BC7, 0},      {0x0BCA, 0x0BCB, 0}, {0x0B85, 0x0B86, 0},
        {0x0B87, 0x0B88, 0},      {0x0B89, 0x0B8A, 0},      {0x0B8E, 0x0B8F, 0}, {0x0B92, 0x0B93, 0},
    };
    for (int g = 0; g < int(std::size(groups)); ++g)
        for (const char32_t member : groups[g])
            if (member && member == c)
                return g;
    return -1;
}

// An edit distance in which a mix-up of such letters, or a missing or extra
// ா (a for aa), counts half.
double typingDistance(const QList<uint>& a, const QList<uint>& b)
{
    auto gap = [](uint c) { return c == 0x0BBE ? 0.5 : 1.0; };
    std::vector<double> row(b.size() + 1), next(b.size() + 1);
    for (qsizetype j = 1; j <= b.size(); ++j)
        row[j] = row[j - 1] + gap(b[j - 1]);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        next[0] = row[0] + gap(a[i - 1]);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const uint x = a[i - 1], y = b[j - 1];
            const int gx = confusableGroup(x);
            const double swap = x == y ? 0 : gx >= 0 && gx == confusableGroup(y) ? 0.5 : 1;
            next[j] = std::min({row[j - 1] + swap, row[j] + gap(x), next[j - 1] + gap(y)});
        }
        std::swap(row, next);
    }
    return row[b.size()];
}

} // namespace

QStringList tamilSuggestions(SpellChecker& checker, const QString& unicodeWord)
{
    const QStringList offered = checker.suggest(Language::Tamil, unicodeWord);
    // The dictionary ranks by its own measure; what the person most likely
    // meant to type comes first.
    const QList<uint> typed = unicodeWord.toUcs4();
    std::vector<std::pair<double, QString>> ranked;
    for (const QString& suggestion : offered)
        ranked.emplace_back(typingDistance(typed, suggestion.toUcs4()), suggestion);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    QStringList out;
    for (const auto& [distance, suggestion] : ranked) {
        const std::string utf8 = suggestion.toStdString();
        const engine::UnicodeToCodes codes = engine::unicodeToCodes(utf8);
        if (codes.malformed || codes.unconverted || engine::codesToUnicode(codes.codes) != utf8)
            continue;
        const QString written = QString::fromLatin1(codes.codes.data(), qsizetype(codes.codes.size()));
        if (!out.contains(written))
            out << written;
    }
    return out;
}

SpellCheck::SpellCheck(QTextEdit& box, SpellChecker& checker)
    : box_(&box), checker_(checker), original_(box.textCursor())
{
    QTextDocument& document = *box.document();
    int from = 0;
    int to = document.characterCount() - 1;
    // A selection that cuts a word takes all of it.
    if (original_.hasSelection()) {
        from = original_.selectionStart();
        to = original_.selectionEnd();
        if (document::isWordCharacterAt(document, from))
            from = document::wordAt(document, from).start;
        if (document::isWordCharacterAt(document, to - 1) && document::isWordCharacterAt(document, to))
            to = document::wordAt(document, to).end;
    }
    end_ = QTextCursor(&document);
    end_.setPosition(to);
    current_ = QTextCursor(&document);
    current_.setPosition(from);
}

bool SpellCheck::next() { return findFrom(current_.selectionEnd()); }

bool SpellCheck::findFrom(int position)
{
    if (!box_) {
        atEnd_ = true;
        return false;
    }
    QTextDocument& document = *box_->document();
    bool found = false;
    forEachCheckedWord(document, position, end_.position(), [&](const CheckedWord& word) {
        if (checker_.check(word.language, word.unicode))
            return true;
        word_ = word;
        found = true;
        return false;
    });
    if (!found) {
        atEnd_ = true;
        suggestions_.clear();
        return false;
    }
    current_.setPosition(word_.start);
    current_.setPosition(word_.end, QTextCursor::KeepAnchor);
    family_ = rtf::familyOf(formatAt(document, word_.start), document.defaultFont());
    suggestions_ = word_.language == Language::Tamil ? tamilSuggestions(checker_, word_.unicode)
                                                     : checker_.suggest(Language::English, word_.unicode);
    box_->setTextCursor(current_);
    box_->ensureCursorVisible();
    return true;
}

QTextCursor SpellCheck::sentence() const
{
    if (!box_ || atEnd_)
        return {};
    const QTextBlock block = box_->document()->findBlock(current_.selectionStart());
    const QString text = block.text();
    const int wordStart = current_.selectionStart() - block.position();
    const int wordEnd = current_.selectionEnd() - block.position();
    int start = wordStart;
    while (start > 0 && wordStart - start < sentenceReach
           && !(endsSentence(text.at(start - 1)) && start < text.size() && text.at(start).isSpace()))
        --start;
    while (start < wordStart && text.at(start).isSpace())
        ++start;
    int end = wordEnd;
    while (end < text.size() && end - wordEnd < sentenceReach && !endsSentence(text.at(end)))
        ++end;
    if (end < text.size() && endsSentence(text.at(end)))
        ++end;
    QTextCursor sentence(box_->document());
    sentence.setPosition(block.position() + start);
    sentence.setPosition(block.position() + end, QTextCursor::KeepAnchor);
    return sentence;
}

// A word the person edited meanwhile is looked at afresh instead.
bool SpellCheck::atShownWord()
{
    if (atEnd_)
        return false;
    if (box_ && current_.selectedText() == word_.text)
        return true;
    findFrom(current_.selectionStart());
    return false;
}

void SpellCheck::change(const QString& replacement)
{
    if (!atShownWord())
        return;
    current_.insertText(replacement, formatAt(*box_->document(), current_.selectionStart()));
    ++changed_;
    next();
}

void SpellCheck::changeAll(const QString& replacement)
{
    if (!atShownWord())
        return;
    QTextDocument& document = *box_->document();
    std::vector<CheckedWord> copies;
    forEachCheckedWord(document, current_.selectionStart(), end_.position(), [&](const CheckedWord& word) {
        if (word.language == word_.language && word.text == word_.text)
            copies.push_back(word);
        return true;
    });
    if (copies.empty()) {
        findFrom(current_.selectionStart());
        return;
    }
    QTextCursor edit(&document);
    edit.beginEditBlock();
    for (auto it = copies.rbegin(); it != copies.rend(); ++it) {
        const QTextCharFormat format = formatAt(document, it->start);
        edit.setPosition(it->start);
        edit.setPosition(it->end, QTextCursor::KeepAnchor);
        edit.insertText(replacement, format);
    }
    edit.endEditBlock();
    changed_ += int(copies.size());
    current_.setPosition(copies.front().start + int(replacement.size()));
    next();
}

void SpellCheck::ignore()
{
    if (!atEnd_)
        next();
}

void SpellCheck::ignoreAll()
{
    if (atEnd_)
        return;
    checker_.ignoreAll(word_.unicode);
    next();
}

bool SpellCheck::addToDictionary()
{
    if (atEnd_)
        return true;
    if (!checker_.add(word_.unicode))
        return false;
    next();
    return true;
}

void SpellCheck::restoreSelection()
{
    if (box_)
        box_->setTextCursor(original_);
}

} // namespace tk::spelling
