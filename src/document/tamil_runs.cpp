#include "tamil_runs.h"

#include "display_fonts.h"
#include "engine/tamil_unicode.h"
#include "rtf/qt_formats.h"

#include <QTextCursor>
#include <QTextDocument>

namespace tk::document {

bool isUnicodeTamil(QChar c)
{
    // The joiners sit inside Tamil words and are dropped by the conversion.
    return (c.unicode() >= 0x0B80 && c.unicode() <= 0x0BFF) || c.unicode() == 0x200C || c.unicode() == 0x200D;
}

namespace {

void append(QList<TextRun>& runs, const QString& text, bool codes)
{
    if (text.isEmpty())
        return;
    if (!runs.isEmpty() && runs.back().codes == codes)
        runs.back().text += text;
    else
        runs.push_back({text, codes});
}

// One run of Tamil letters: codes, with whatever the codes cannot write left
// in its place.
void convertTamil(QList<TextRun>& runs, QStringView tamil)
{
    while (!tamil.isEmpty()) {
        const QByteArray utf8 = tamil.toUtf8();
        const engine::UnicodeToCodes r = engine::unicodeToCodes(std::string_view(utf8.constData(), utf8.size()));
        if (r.unconverted == 0) {
            append(runs, QString::fromLatin1(r.codes.data(), qsizetype(r.codes.size())), true);
            return;
        }
        // Convert what comes before the first such character on its own, keep
        // the character, and go on after it.
        const QString head = QString::fromUtf8(utf8.constData(), qsizetype(r.firstUnconvertedAt));
        if (!head.isEmpty()) {
            const QByteArray headUtf8 = head.toUtf8();
            const std::string codes = engine::unicodeToCodes(std::string_view(headUtf8.constData(), headUtf8.size())).codes;
            append(runs, QString::fromLatin1(codes.data(), qsizetype(codes.size())), true);
        }
        const QString kept = QString::fromUcs4(&r.firstUnconvertedChar, 1);
        append(runs, kept, false);
        tamil = tamil.mid(head.size() + kept.size());
    }
}

} // namespace

QList<TextRun> tamilRunsToCodes(const QString& text)
{
    QList<TextRun> runs;
    qsizetype start = 0;
    while (start < text.size()) {
        const bool tamil = isUnicodeTamil(text.at(start));
        qsizetype end = start + 1;
        while (end < text.size() && isUnicodeTamil(text.at(end)) == tamil)
            ++end;
        if (tamil)
            convertTamil(runs, QStringView(text).mid(start, end - start));
        else
            append(runs, text.mid(start, end - start), false);
        start = end;
    }
    return runs;
}

void insertWithTamilCodes(QTextCursor& cursor, const QString& text)
{
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const QTextCharFormat format = cursor.charFormat();
    QTextCharFormat tamil = format;
    if (!fonts::isTamilDisplayFont(rtf::familyOf(format, cursor.document()->defaultFont())))
        tamil.setFontFamilies({QString::fromLatin1(fonts::kolvaniFamily)});
    for (const TextRun& run : tamilRunsToCodes(text))
        cursor.insertText(run.text, run.codes ? tamil : format);
    cursor.endEditBlock();
}

} // namespace tk::document
