#pragma once

#include "block_heights.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QHash>
#include <QTextCursor>
#include <QTextOption>

#include <deque>

class QTextLayout;

namespace tk::document {

// The layout of the text surface, made so that a key, a scroll step or a
// resize costs what is on screen, not what is in the document.
//
// Paragraphs are laid out when something asks for them: the view being
// painted, the caret's paragraph, a click. Every paragraph's height lives in
// a tree (BlockHeights) that answers "which paragraph is at y" and "where
// does paragraph n start" in logarithmic time; a paragraph never laid out
// holds an estimate from its length, corrected when it is laid out. An edit
// lays out just the paragraphs it touched, and the ones after them move by
// the change in height without being visited. A new width or default font
// makes every laid-out paragraph stale at once, so that only those shown are
// laid out again; their old heights stand as the estimates.
//
// Paragraphs are laid out the way Qt's own document layout lays out the
// paragraphs of a root frame (alignment, indents, first-line indent, spacing
// before and after with the larger of two neighbouring spacings taken, line
// height, wrapping, the frame's margins), so line breaks and positions match
// it once laid out. Tables, lists, floating frames and page breaks are not
// supported: the surface's documents have none.
class DocumentLayout final : public QAbstractTextDocumentLayout {
    Q_OBJECT
    Q_PROPERTY(int cursorWidth READ cursorWidth WRITE setCursorWidth)
public:
    explicit DocumentLayout(QTextDocument* document);

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

    int cursorWidth() const { return cursorWidth_; }
    void setCursorWidth(int width) { cursorWidth_ = width; }

    // The view shows the document from `top` down `height` pixels. Lays out
    // the paragraphs there and a view's height above and below it; when that
    // changes the height of paragraphs above the view, emits viewShifted.
    void setView(qreal top, qreal height);
    // Whether the paragraph is laid out for the present width and formats.
    bool isLaidOut(const QTextBlock& block) const;

signals:
    // Paragraphs above the view's top got their real heights: scrolling by
    // dy keeps the view on the same text.
    void viewShifted(qreal dy);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    // What line breaks depend on besides the paragraphs themselves.
    struct Geometry {
        qreal pageWidth = -1;
        qreal left = 0, right = 0, top = 0, bottom = 0; // the root frame's margin, border and padding
        QFont font;
        QTextOption option;
        qreal indentWidth = 0;

        qreal contentWidth() const;
        bool breaksLike(const Geometry& other) const;
    };
    Geometry currentGeometry() const;

    // Lays the paragraph out where it stands and returns its height,
    // spacing below included.
    qreal layOutBlock(const QTextBlock& block);
    // Returns whether the paragraph's height changed.
    bool ensureLaidOut(const QTextBlock& block);
    qreal spacingBelow(const QTextBlock& block, const QTextBlockFormat& format) const;
    qreal estimate(int characters, qreal width) const;
    qreal estimate(const QTextBlock& block, const QTextBlockFormat& format, qreal spacing) const;
    void estimate(const QTextBlock& first, const QTextBlock& last);
    void learnFrom(const QTextLayout& layout, qreal linesHeight, int characters);

    qreal blockTop(const QTextBlock& block) const { return geometry_.top + heights_.offset(block); }
    QTextBlock blockAtY(qreal y) const { return heights_.blockAt(y - geometry_.top); }
    QTextLayout* placed(const QTextBlock& block) const;
    void drawBlock(QPainter* painter, const PaintContext& context, const QTextBlock& block, const QRectF& clip) const;

    // A height changed from `y` down: the size and the picture follow, at
    // once or, while painting, when the painting is over.
    void heightsChangedFrom(qreal y);
    void reportChanges();

    BlockHeights heights_;
    Geometry geometry_;
    quint32 generation_ = 0;
    // For each paragraph's text layout, the generation it was made in and
    // the height of its lines.
    struct Stamp {
        quint32 generation;
        qreal lines;
    };
    QHash<const QTextLayout*, Stamp> laidOut_;
    void forgetLayouts();
    // The paragraphs laid out last keep their shaped glyphs, so that
    // painting the view does not shape its text again; a cursor at each
    // (which follows edits and never dangles) finds the oldest to let go.
    std::deque<QTextCursor> keptGlyphs_;
    void keepGlyphs(const QTextBlock& block, QTextLayout& layout);
    bool estimated_ = false;
    bool estimatedWithoutWidth_ = false;
    int cursorWidth_ = 1;
    qreal typicalLineHeight_ = 0;
    qreal typicalAdvance_ = 0;
    qreal widest_ = 0; // widest line seen, for a document without a page width

    // The paragraph at the top of the view, followed through edits.
    QTextCursor viewAnchor_;
    qreal viewHeight_ = 0;
    bool settingView_ = false;
    qreal shiftAboveView_ = 0;

    struct Edit {
        int from = -1, removed = 0, added = 0;
        bool operator==(const Edit&) const = default;
    };
    Edit lastEdit_;
    // The number of paragraphs after the last change: when it changes, the
    // text below the edit moved, whatever the edited paragraphs' heights.
    int blockCount_ = 0;

    bool painting_ = false;
    qreal changedFrom_ = -1; // y from which the picture is stale, -1 none
    QSizeF reportedSize_;
    bool reportQueued_ = false;
};

// Gives the document the text surface's layout, replacing the one it had.
void useDocumentLayout(QTextDocument& document);

} // namespace tk::document
