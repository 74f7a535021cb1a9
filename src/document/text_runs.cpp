#include "text_runs.h"

#include "display_fonts.h"
#include "rtf/qt_formats.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tk::document {

void forEachRun(const QTextDocument& document, int from, int to, const std::function<bool(const TextRun&)>& visit)
{
    from = std::max(from, 0);
    to = std::min(to, document.characterCount() - 1);
    const QFont defaultFont = document.defaultFont();
    TextRun run;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(from, fragment.position());
            const int end = std::min(to, fragment.position() + fragment.length());
            if (start >= end)
                continue;
            run.position = start;
            run.text = fragment.text().mid(start - fragment.position(), end - start);
            run.format = fragment.charFormat();
            run.family = rtf::familyOf(run.format, defaultFont);
            run.tamilDisplayFont = fonts::isTamilDisplayFont(run.family);
            run.paragraphBreak = false;
            if (!visit(run))
                return;
        }
        const int breakAt = block.position() + block.length() - 1;
        if (breakAt >= from && breakAt < to) {
            run.position = breakAt;
            run.text = QStringLiteral("\n");
            run.format = block.charFormat();
            run.family = rtf::familyOf(run.format, defaultFont);
            run.tamilDisplayFont = fonts::isTamilDisplayFont(run.family);
            run.paragraphBreak = true;
            if (!visit(run))
                return;
        }
    }
}

} // namespace tk::document
