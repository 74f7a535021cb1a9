#pragma once

// A text surface filled from a compact description: pieces joined by "|",
// each "K:" (Kolvani), "B:" (bold Kolvani) or "L:" (a Latin font) and its
// text, "\n" starting a new paragraph.
#include "document/rich_text_box.h"

#include <QTextCursor>

inline void fill(QTextEdit& box, const QString& pieces)
{
    box.clear();
    QTextCursor cursor(box.document());
    for (const QString& piece : pieces.split(u'|')) {
        QTextCharFormat format;
        format.setFontFamilies({piece.startsWith(u'L') ? QStringLiteral("DejaVu Sans") : QStringLiteral("Kolvani")});
        if (piece.startsWith(u'B'))
            format.setFontWeight(QFont::Bold);
        const QStringList lines = piece.mid(2).split(u'\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (i)
                cursor.insertBlock();
            cursor.insertText(lines[i], format);
        }
    }
}

inline void selectAll(QTextEdit& box)
{
    QTextCursor all(box.document());
    all.select(QTextCursor::Document);
    box.setTextCursor(all);
}
