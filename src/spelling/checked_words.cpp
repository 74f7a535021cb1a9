#include "checked_words.h"

#include "document/text_runs.h"
#include "document/words.h"
#include "engine/tamil_unicode.h"

#include <QFontDatabase>
#include <QHash>

namespace tk::spelling {

namespace {

enum class FontKind { Tamil, Latin, Other };

bool isApostrophe(QChar c) { return c == u'\'' || c == u'\u2019'; }

FontKind latinOrOther(const QString& family)
{
    static const QStringList symbolFonts = {
        QStringLiteral("Symbol"),   QStringLiteral("Wingdings"),   QStringLiteral("Wingdings 2"),
        QStringLiteral("Wingdings 3"), QStringLiteral("Webdings"), QStringLiteral("Marlett"),
        QStringLiteral("Zapf Dingbats"), QStringLiteral("Dingbats"),
    };
    static QHash<QString, FontKind> kinds;
    if (const auto it = kinds.constFind(family); it != kinds.cend())
        return *it;
    FontKind kind = FontKind::Latin;
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    if (symbolFonts.contains(family, Qt::CaseInsensitive) || systems.contains(QFontDatabase::Symbol))
        kind = FontKind::Other;
    // A font that is not installed is shown in a Latin one instead.
    else if (!systems.isEmpty() && !systems.contains(QFontDatabase::Latin))
        kind = FontKind::Other;
    kinds.insert(family, kind);
    return kind;
}

class Scanner {
public:
    explicit Scanner(const std::function<bool(const CheckedWord&)>& visit) : visit_(visit) {}

    // False once the visitor wants no more.
    bool add(QChar c, int pos, FontKind kind)
    {
        const bool inside = inWord_ && kind == kind_ && kind != FontKind::Tamil && isApostrophe(c);
        if (inside || document::isWordCharacter(c, kind == FontKind::Tamil)) {
            if (inWord_ && kind != kind_ && !end())
                return false;
            if (!inWord_) {
                inWord_ = true;
                kind_ = kind;
                start_ = pos;
                word_.clear();
            }
            word_ += c;
            return true;
        }
        return end();
    }

    bool end()
    {
        if (!inWord_)
            return true;
        inWord_ = false;
        while (!word_.isEmpty() && isApostrophe(word_.back()))
            word_.chop(1);
        if (kind_ == FontKind::Other || word_.isEmpty())
            return true;
        for (const QChar c : word_) {
            if (c.isDigit() || (c == u'_' && kind_ != FontKind::Tamil))
                return true;
            if (kind_ == FontKind::Tamil ? c.unicode() > 0xFF
                                         : !(isApostrophe(c) || c.isMark() || c.script() == QChar::Script_Latin))
                return true;
        }
        CheckedWord word;
        word.start = start_;
        word.end = start_ + int(word_.size());
        word.text = word_;
        if (kind_ == FontKind::Tamil) {
            word.language = Language::Tamil;
            word.unicode = QString::fromStdString(engine::codesToUnicode(word_.toLatin1().toStdString()));
        } else {
            word.language = Language::English;
            word.unicode = word_;
            word.unicode.replace(u'\u2019', u'\'');
        }
        return visit_(word);
    }

private:
    const std::function<bool(const CheckedWord&)>& visit_;
    bool inWord_ = false;
    FontKind kind_ = FontKind::Other;
    int start_ = 0;
    QString word_;
};

} // namespace

void forEachCheckedWord(const QTextDocument& document, int from, int to,
                        const std::function<bool(const CheckedWord&)>& visit)
{
    Scanner scanner(visit);
    bool going = true;
    document::forEachRun(document, from, to, [&](const document::TextRun& run) {
        const FontKind kind = run.tamilDisplayFont ? FontKind::Tamil : latinOrOther(run.family);
        for (int i = 0; going && i < run.text.size(); ++i)
            going = scanner.add(run.paragraphBreak ? QChar(u'\n') : run.text.at(i), run.position + i, kind);
        return going;
    });
    if (going)
        scanner.end();
}

} // namespace tk::spelling
