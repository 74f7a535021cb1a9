#include "replace_all.h"

#include "document/text_search.h"

#include <QTextCursor>
#include <QTextEdit>

#include <optional>
#include <vector>

namespace tk::find {

qint64 replaceAll(QTextEdit& edit, const QString& text, const QString& replacement, int options, bool fromStart)
{
    if (text.isEmpty() || replacement.isEmpty())
        return 0;
    QTextDocument& document = *edit.document();
    const int length = int(text.size());

    std::vector<int> matches;
    {
        const document::TextSearch search(document, text, options);
        int from = fromStart ? 0 : edit.textCursor().selectionStart();
        // A match right after a replacement has the replacement's last
        // character before it by the time it is reached.
        std::optional<QChar> before;
        for (int at; (at = search.next(from, -1, before)) >= 0;) {
            matches.push_back(at);
            from = at + length;
            before = replacement.back();
        }
    }
    if (matches.empty())
        return 0;

    const qint64 count = qint64(matches.size());
    const qint64 growth = replacement.size() - length;

    // From the last match back, so the positions of those before it hold.
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
        cursor.setPosition(*it);
        cursor.setPosition(*it + length, QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();

    cursor.setPosition(int(matches.back() + (count - 1) * growth + replacement.size()));
    edit.setTextCursor(cursor);
    return count;
}

} // namespace tk::find
