#include "replace_all.h"

#include "document/text_search.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

#include <optional>
#include <vector>

namespace tk::find {

namespace {

// Characters; below this a document is laid out again in a moment.
constexpr int largeDocument = 1 << 20;

} // namespace

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

    // The end of an edit block lays out again everything between its first
    // and last change: seconds in a document of megabytes. There the layout
    // is held back during the edits and then starts over a piece at a time,
    // as after loading, and the caret and the view stay where they were:
    // showing the caret after the last replacement would lay out everything
    // before it at once.
    const bool holdLayout = document.characterCount() > largeDocument;
    const QSizeF pageSize = document.pageSize();
    QScrollBar* const bars[] = {edit.horizontalScrollBar(), edit.verticalScrollBar()};
    const int scrolled[] = {bars[0]->value(), bars[1]->value()};
    if (holdLayout)
        document.setPageSize(QSizeF(0, 0));

    // From the last match back, so the positions of those before it hold.
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
        cursor.setPosition(*it);
        cursor.setPosition(*it + length, QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();

    if (holdLayout) {
        document.setPageSize(pageSize);
        bars[0]->setValue(scrolled[0]);
        bars[1]->setValue(scrolled[1]);
    } else {
        cursor.setPosition(int(matches.back() + (count - 1) * growth + replacement.size()));
        edit.setTextCursor(cursor);
    }
    return count;
}

} // namespace tk::find
