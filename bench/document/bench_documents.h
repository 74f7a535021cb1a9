#pragma once

// What the document benchmarks share: long documents of typed Tamil and a
// document window standing without the frame.
#include "document/form1.h"
#include "seam/common_dialog.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

// Font codes of typed Tamil words, in lines of about seventy characters.
inline QString tamilText(qsizetype bytes)
{
    static const char* const words[] = {"jkpo; ", "tzf;fk; ", "ed;wp ", "mk;kh ", "fz; ",
                                        "$ ", "if ", "Nfh ", "ez;gu;fs; "};
    QString text;
    text.reserve(bytes + 16);
    qsizetype line = 0;
    for (std::size_t i = 0; text.size() < bytes; ++i) {
        const QString word = QString::fromLatin1(words[(i * 5) % std::size(words)]);
        text += word;
        line += word.size();
        if (line > 70) {
            text += u'\n';
            line = 0;
        }
    }
    text.truncate(bytes);
    return text;
}

// The frame's shared items a document window links to.
struct BenchFrame {
    QAction save, close1, convert;
    QMenu popup;
    tk::seam::CommonDialog cd1;
    tk::engine::EngineState state;

    BenchFrame()
    {
        convert.setCheckable(true);
        convert.setChecked(true);
    }
    tk::document::FrameLinks links() { return {&save, &close1, &convert, &popup, &cd1, &state}; }
};
