// The text surface's own layout: the same lines and places as Qt's; edits and
// scrolling in a long document lay out only what they must.
#include "form_fixture.h"
#include "../support/test_files.h"

#include "display_fonts.h"
#include "document/block_heights.h"
#include "document/document_layout.h"
#include "document/rtf/document_io.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <functional>
#include <memory>

using tk::document::DocumentLayout;

namespace {

// Typed Tamil, about seventy codes.
const QString tamilLine = QStringLiteral("jkpo; tzf;fk; ed;wp mk;kh fz; $ if Nfh ez;gu;fs; mk;kh tzf;fk; ");

QString rtf(const QString& body)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Kolvani;}{\\f1 Nelpari;}{\\f2 DejaVu Sans;}}\\f0\\fs28 " + body + "}";
}

// The document as the surface would hold it; spacing above and below, and a
// line height in percent, go on every other paragraph.
std::unique_ptr<QTextDocument> documentFrom(const QString& source, qreal spacing, int lineHeight)
{
    auto doc = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("Kolvani"));
    font.setPointSizeF(14.25);
    doc->setDefaultFont(font);
    tk::document::setTextRtf(*doc, source);
    for (QTextBlock b = doc->begin(); b.isValid() && (spacing || lineHeight); b = b.next()) {
        QTextBlockFormat f;
        f.setTopMargin(spacing);
        f.setBottomMargin(spacing * 0.6);
        if (lineHeight > 0)
            f.setLineHeight(lineHeight, QTextBlockFormat::ProportionalHeight);
        if (b.blockNumber() % 2)
            QTextCursor(b).mergeBlockFormat(f);
    }
    return doc;
}

// Every paragraph's box and lines, read from the top down as a view would.
QStringList linesOf(QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QRectF r = doc.documentLayout()->blockBoundingRect(b);
        QString s = QStringLiteral("%1: %2,%3 %4x%5").arg(b.blockNumber()).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        for (int i = 0; i < b.layout()->lineCount(); ++i) {
            const QTextLine l = b.layout()->lineAt(i);
            s += QStringLiteral(" [%1+%2 at %3,%4 w%5]").arg(l.textStart()).arg(l.textLength())
                     .arg(l.position().x()).arg(l.position().y()).arg(l.width(), 0, 'f', 3);
        }
        out << s;
    }
    const QSizeF size = doc.documentLayout()->documentSize();
    return out << QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// Paragraphs of one to four lines, so that estimates are off.
QString unevenParagraphs(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += tamilLine.repeated(1 + (i * 7) % 13 / 4) + u'\n';
    return text;
}

} // namespace

class TestDocumentLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }

    void linesAndPlacesMatchQt()
    {
        const QString wraps = tamilLine.repeated(6);
        const std::tuple<QString, qreal, int> rows[] = {
            {"fz; Nfh\\par if\\par ez;gu;fs; $", 0, 0},
            {wraps + "\\par " + wraps + wraps, 0, 0},
            {"\\qr " + wraps + "\\par\\qc " + wraps + "\\par\\qj " + wraps + "\\par\\ql " + wraps, 0, 0},
            {"\\li720\\fi-360 " + wraps + "\\par\\li0\\fi600 " + wraps + "\\par\\li1440\\fi0 " + wraps
                 + "\\par\\pard\\qr\\li300\\fi-300 " + wraps, 0, 0},
            {tamilLine + "{\\b " + tamilLine + "}{\\i " + tamilLine + "}{\\fs48 " + tamilLine + "}\\par {\\f1 " + wraps
                 + "}{\\f2\\fs18 Latin text in between }{\\ul " + tamilLine + "}{\\fs16 " + tamilLine + "}", 0, 0},
            {"\\par\\par " + tamilLine + "\\par\\par\\par {\\fs48 \\par} " + tamilLine + "\\par", 0, 0},
            {wraps + "\\par fz;\\par\\par " + wraps + "\\par Nfh\\par if", 7.3, 0}, // spacing before and after
            {wraps + "\\par " + wraps + "\\par fz;\\par " + wraps, 0, 150},         // line height
        };
        for (const auto& [body, spacing, lineHeight] : rows) {
            for (const qreal width : {330.0, 640.0}) {
                const auto qt = documentFrom(rtf(body), spacing, lineHeight);
                const auto ours = documentFrom(rtf(body), spacing, lineHeight);
                tk::document::useDocumentLayout(*ours);
                QVERIFY(qobject_cast<DocumentLayout*>(ours->documentLayout()));
                qt->setPageSize(QSizeF(width, -1));
                ours->setPageSize(QSizeF(width, -1));
                QCOMPARE(linesOf(*ours), linesOf(*qt));
            }
        }
    }

    // The caret and clicks land where they do in a text edit with Qt's layout.
    void caretAndClicksMatchQt()
    {
        FormFixture f;
        const QString source = rtf("\\qc " + tamilLine.repeated(3) + "\\par\\pard\\li600\\fi-300 " + tamilLine
                                   + "{\\fs40 " + tamilLine + "}{\\b " + tamilLine + "}\\par\\par\\qr " + tamilLine);
        QVERIFY(f.box()->SetTextRTF(source));
        QTextEdit plain;
        plain.document()->setDefaultFont(f.box()->document()->defaultFont());
        QVERIFY(tk::document::setTextRtf(*plain.document(), source));
        plain.resize(f.box()->size());
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        QCOMPARE(plain.viewport()->size(), f.box()->viewport()->size());
        QVERIFY(qobject_cast<DocumentLayout*>(f.box()->document()->documentLayout()));
        for (int pos = 0; pos < f.box()->document()->characterCount(); ++pos) {
            QTextCursor a(f.box()->document()), b(plain.document());
            a.setPosition(pos);
            b.setPosition(pos);
            QVERIFY2(f.box()->cursorRect(a) == plain.cursorRect(b), qPrintable(QString::number(pos)));
        }
        const QSize view = plain.viewport()->size();
        for (int y = -3; y < view.height(); y += 7)
            for (int x = -3; x < view.width(); x += 11)
                QVERIFY2(f.box()->cursorForPosition({x, y}).position() == plain.cursorForPosition({x, y}).position(),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    }

    // Find's and speech's highlights are extra selections; the user's own comes with the paint context.
    void drawsSelectionAndHighlights()
    {
        FormFixture f;
        f.box()->SetText(unevenParagraphs(400));
        f.box()->setFocus();
        QTextCursor word(f.box()->document()->findBlockByNumber(200));
        word.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
        QTextEdit::ExtraSelection highlight{word, {}};
        highlight.format.setBackground(QColor(Qt::yellow));
        f.box()->setExtraSelections({highlight});
        QTextCursor selection = word;
        selection.movePosition(QTextCursor::Down);
        selection.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
        f.box()->setTextCursor(selection);
        f.box()->ensureCursorVisible();
        QCoreApplication::processEvents();
        const QImage shot = f.box()->viewport()->grab().toImage();
        auto count = [&](const QRect& area, const QColor& colour) {
            int n = 0;
            for (int y = std::max(0, area.top()); y <= std::min(shot.height() - 1, area.bottom()); ++y)
                for (int x = std::max(0, area.left()); x <= std::min(shot.width() - 1, area.right()); ++x)
                    n += shot.pixelColor(x, y) == colour;
            return n;
        };
        QVERIFY(count(f.box()->cursorRect(QTextCursor(word.block())).adjusted(0, 0, 40, 0), QColor(Qt::yellow)) > 20);
        const QColor selected = f.box()->palette().color(QPalette::Active, QPalette::Highlight);
        QVERIFY(count(f.box()->cursorRect(selection).adjusted(-200, 0, 0, 0), selected) > 20);
    }

    // In the middle paragraph: text that wraps, a new paragraph, a Backspace joining two; then undone.
    void editMovesLaterParagraphsByItsHeightChange()
    {
        for (const auto& [insert, backspace] : {std::pair{tamilLine.repeated(3), false},
                                                std::pair{QStringLiteral("fz; Nfh\n"), false}, std::pair{QString(), true}}) {
            FormFixture f;
            f.box()->SetText(unevenParagraphs(3000));
            QTextDocument* doc = f.box()->document();
            auto* layout = qobject_cast<DocumentLayout*>(doc->documentLayout());
            QVERIFY(layout);
            const int middle = 1500;
            const QTextBlock before = doc->findBlockByNumber(middle - 2), untouched = doc->findBlockByNumber(2000);
            const QList<QTextBlock> later{doc->findBlockByNumber(middle + 1), doc->findBlockByNumber(middle + 2),
                                          doc->findBlockByNumber(2990), doc->lastBlock()};
            // From the paragraph a Backspace joins the middle one to.
            auto heightOfEdited = [&] {
                qreal h = 0;
                for (QTextBlock b = before.next(); b != later.first(); b = b.next())
                    h += layout->blockBoundingRect(b).height();
                return h;
            };
            auto tops = [&](qreal change) {
                QList<qreal> out{layout->blockBoundingRect(before).top()};
                for (const QTextBlock& b : later)
                    out << layout->blockBoundingRect(b).top() - change;
                return out;
            };
            const QList<qreal> oldTops = tops(0);
            const qreal oldHeight = heightOfEdited();
            QVERIFY(!layout->isLaidOut(untouched));
            QTextCursor c(doc->findBlockByNumber(middle));
            c.insertText(insert);
            if (backspace)
                c.deletePreviousChar();
            const qreal change = heightOfEdited() - oldHeight;
            QVERIFY(backspace || change > 0);
            QCOMPARE(tops(change), oldTops);
            QVERIFY2(!layout->isLaidOut(untouched), "a paragraph far below the edit was laid out");
            doc->undo();
            QCOMPARE(heightOfEdited(), oldHeight);
            QCOMPARE(tops(0), oldTops);
        }
    }

    // Where paragraphs went or the text was replaced whole, the view is drawn
    // again down to where the old text ended: a view drawn only where the
    // remaining text stands shows lines that are no longer there.
    void viewDrawnAgainWhereTextWent()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("short.txt"));
        writeBytes(file, "fz;");
        // Rows: the selection first, then the change.
        const std::tuple<const char*, int, std::function<void(tk::document::RichTextBox&)>> rows[] = {
            {"two paragraphs deleted", 17, [](auto& box) { box.textCursor().removeSelectedText(); }},
            {"a file loaded in its place", 0, [&](auto& box) { QVERIFY(box.LoadFile(file).ok); }},
        };
        for (const auto& [name, selectTo, change] : rows) {
            FormFixture f;
            auto& box = *f.box();
            box.SetText(QStringLiteral("mk;k\nmg;g\nfly;\nehd;\ngly;\n"));
            select(&box, 6, selectTo);
            QVERIFY(QTest::qWaitForWindowExposed(f.form));
            QTest::qWait(50);
            const QRectF last = box.document()->documentLayout()->blockBoundingRect(box.document()->lastBlock());
            struct Painted : QObject {
                QRegion region;
                bool eventFilter(QObject*, QEvent* e) override
                {
                    if (e->type() == QEvent::Paint)
                        region += static_cast<QPaintEvent*>(e)->region();
                    return false;
                }
            } painted;
            box.viewport()->installEventFilter(&painted);
            change(box);
            QTest::qWait(100);
            QVERIFY2((QRegion(0, 30, 40, int(last.top()) - 30) - painted.region).isEmpty(), name);
        }
    }

    // Typing at the end of a long document never laid out above; then each step
    // up moves the text by the step, however wrong the estimates above were.
    void viewKeepsItsText()
    {
        FormFixture f;
        auto blockAtViewTop = [&] { return f.box()->cursorForPosition(QPoint(8, 2)).blockNumber(); };
        auto viewY = [&](const QTextBlock& block) {
            return f.box()->document()->documentLayout()->blockBoundingRect(block).top() - f.box()->verticalScrollBar()->value();
        };
        const QByteArray typed = f.type("ka ");
        f.box()->SetText(unevenParagraphs(5000));
        QTest::keyClick(f.box(), Qt::Key_End, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QVERIFY(f.type("ka ").endsWith("\n" + typed));
        QScrollBar* bar = f.box()->verticalScrollBar();
        QVERIFY(bar->value() > bar->maximum() - 10);
        QVERIFY(f.box()->viewport()->rect().contains(f.box()->cursorRect()));
        for (int step = 0; step < 15; ++step) {
            const QTextBlock top = f.box()->document()->findBlockByNumber(blockAtViewTop());
            const qreal y = viewY(top);
            bar->setValue(bar->value() - 150);
            QCoreApplication::processEvents();
            QVERIFY2(std::abs(viewY(top) - (y + 150)) <= 1, qPrintable(QString::number(step)));
        }
        const int top = blockAtViewTop();
        for (const int width : {600, 420, 900}) {
            f.form->resize(width, f.form->height());
            QCoreApplication::processEvents();
            QCOMPARE(blockAtViewTop(), top);
            const QTextBlock block = f.box()->document()->findBlockByNumber(top); // its lines fill the new width
            QVERIFY(f.box()->document()->documentLayout()->blockBoundingRect(block).right() <= f.box()->viewport()->width());
        }
    }

    // Thousands of fonts that are not installed: Qt searches the system's fonts
    // for each family it is asked to show, so only a few hundred are shown as
    // named (the rest in one stand-in), and every name is kept for saving.
    void manyMissingFontsShownThroughFewFamilies()
    {
        FormFixture f;
        QByteArray fonts = "{\\rtf1\\ansi{\\fonttbl", body;
        for (int i = 0; i < 1000; ++i) {
            const QByteArray n = QByteArray::number(i);
            fonts += "{\\f" + n + " Missing font " + n + ";}";
            body += "{\\f" + n + " x}";
        }
        QVERIFY(f.box()->SetTextRTF(QString::fromLatin1(fonts + "}" + body + "}")));
        QSet<QString> shown;
        for (QTextBlock b = f.box()->document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                shown.insert(it.fragment().charFormat().fontFamilies().toStringList().value(0));
        QVERIFY2(shown.size() <= 260, qPrintable(QString::number(shown.size())));
        const QString saved = f.box()->TextRTF();
        QVERIFY(saved.contains("Missing font 0;") && saved.contains("Missing font 999;"));
    }

    // Heights past what 32 bits hold in the finest units move to coarser ones, one by one or in a run.
    void veryTallDocumentsKeepTheirOrder()
    {
        for (const bool batch : {false, true}) {
            QTextDocument doc;
            doc.setPlainText(QStringLiteral("a\nb\nc\nd"));
            tk::document::BlockHeights heights(doc);
            const qreal tall = 30e6;
            if (batch)
                heights.beginBatch();
            for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
                batch ? heights.setHeightInBatch(b, tall) : void(heights.setHeight(b, tall));
            if (batch)
                heights.finishBatch();
            QVERIFY(std::abs(heights.total() - 4 * tall) < 4);
            QVERIFY(std::abs(heights.offset(doc.findBlockByNumber(2)) - 2 * tall) < 2);
            QCOMPARE((QList<int>{heights.blockAt(1.5 * tall).blockNumber(), heights.blockAt(3.5 * tall).blockNumber(),
                                 heights.blockAt(5 * tall).blockNumber()}),
                     (QList<int>{1, 3, 3}));
        }
    }
};

QTEST_MAIN(TestDocumentLayout)
#include "test_document_layout.moc"
