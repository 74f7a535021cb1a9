#include "print_document.h"

#include "print_tamil.h"
#include "rtf/text_document.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>

namespace tk::document {

namespace {

// Lays the document out a stretch at a time, saying how far it has come:
// asking where a block lies makes the layout reach it.
void layOut(const QTextDocument& doc, const rtf::Progress& progress)
{
    const int blocks = doc.blockCount();
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if ((b.blockNumber() & 1023) == 1023) {
            layout->blockBoundingRect(b);
            if (progress)
                progress(double(b.blockNumber()) / blocks);
        }
    }
}

} // namespace

rtf::Result printDocument(const QTextDocument& document, int from, int to, QPrinter& printer,
                          const rtf::Progress& progress)
{
    QTextDocument copy;
    copy.setDefaultFont(document.defaultFont());
    rtf::replaceDocument(copy, rtf::extractRichText(document, from, to, rtf::slice(progress, 0, 0.15)),
                         rtf::slice(progress, 0.15, 0.15));
    printTamilAsUnicode(copy);
    // Laid out in the printer's own units for its page: the layout scales
    // sizes and indents to the printer's resolution.
    copy.documentLayout()->setPaintDevice(&printer);
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    copy.setPageSize(page);
    layOut(copy, rtf::slice(progress, 0.3, 0.4));

    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        return rtf::Result::failure(
            QStringLiteral("Cannot print to \"%1\": the printer could not be started.").arg(target));
    }
    QAbstractTextDocumentLayout::PaintContext context;
    // Black on paper whatever the screen's colours.
    context.palette.setColor(QPalette::Text, Qt::black);
    const int pages = copy.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer.newPage();
        const QRectF view(0, i * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        context.clip = view;
        copy.documentLayout()->draw(&painter, context);
        drawTamilTextLayer(painter, copy, view);
        painter.restore();
        if (progress)
            progress(0.7 + 0.3 * (i + 1) / pages);
    }
    painter.end();
    return rtf::Result::success();
}

} // namespace tk::document
