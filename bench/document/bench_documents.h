#pragma once

// What the document benchmarks share: long documents of typed Tamil and a
// document window standing without the frame.
#include "document/form1.h"
#include "seam/common_dialog.h"
#include "../support/word_lines.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

// Font codes of typed Tamil words, in lines of about seventy characters.
inline QString tamilText(qsizetype bytes)
{
    static const char* const words[] = {"jkpo; ", "tzf;fk; ", "ed;wp ", "mk;kh ", "fz; ",
                                        "$ ", "if ", "Nfh ", "ez;gu;fs; "};
    return wordLines(words, bytes, 5);
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
