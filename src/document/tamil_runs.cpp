#include "tamil_runs.h"

#include "display_fonts.h"
#include "unicode/unicode_document.h"

#include <QTextCursor>

namespace tk::document {

QList<PastedRun> tamilRunsToCodes(const QString& text)
{
    rtf::CharStyle latin;
    latin.family = QString::fromLatin1(unicode::defaultLatinFamily);
    rtf::RichText rich = unicode::richTextOfPlainText(text, latin);
    unicode::codesFromUnicode(rich);
    QList<PastedRun> runs;
    const auto append = [&runs](const QString& part, bool codes) {
        if (!runs.isEmpty() && runs.back().codes == codes)
            runs.back().text += part;
        else
            runs.push_back({part, codes});
    };
    for (std::size_t p = 0; p < rich.paragraphs.size(); ++p) {
        if (p > 0)
            append(QStringLiteral("\n"), false);
        for (const rtf::Run& run : rich.paragraphs[p].runs)
            append(run.text, fonts::isTamilDisplayFont(rich.styles[std::size_t(run.style)].family));
    }
    return runs;
}

void insertWithTamilCodes(QTextCursor& cursor, const QString& text)
{
    cursor.beginEditBlock();
    const int start = cursor.selectionStart();
    cursor.insertText(text);
    cursor.setPosition(start, QTextCursor::KeepAnchor);
    unicode::convertToCodes(cursor);
    cursor.setPosition(cursor.selectionEnd());
    cursor.endEditBlock();
}

} // namespace tk::document
