#include "document_layout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <cmath>

namespace tk::document {

namespace {

// Qt's layout computes in 26.6 fixed point; lengths go through it the same
// way so that positions come out the same.
qreal fixed(qreal v) { return qreal(int(v * 64)) / 64; }

// Edits touching more paragraphs than this leave them estimated, to be laid
// out when shown; fewer are laid out at once.
constexpr int eagerBlocks = 64;
// Paragraphs laid out before estimating the rest of a new document, to learn
// its line height and character width.
constexpr int sampleBlocks = 32;
// Paragraphs whose shaped glyphs are kept: a few views' worth.
constexpr std::size_t keptGlyphBlocks = 512;
constexpr qreal farAway = 1e9;

struct LineHeights {
    qreal advance = 0;    // down to the next line
    qreal bottom = 0;     // the lowest the line reaches
    qreal adjustment = 0; // how far the line is drawn above its place
};

LineHeights lineHeights(const QTextBlockFormat& format, const QTextLine& line)
{
    LineHeights h;
    const qreal raw = std::ceil(line.ascent() + line.descent() + line.leading());
    h.advance = fixed(format.lineHeight(raw, 1));
    h.bottom = fixed(format.lineHeight(line.height(), 1));
    switch (format.lineHeightType()) {
    case QTextBlockFormat::FixedHeight:
        h.adjustment = fixed(line.ascent() + std::max<qreal>(line.leading(), 0))
            - qreal(int(h.advance * 64) * 4 / 5) / 64;
        break;
    case QTextBlockFormat::MinimumHeight: h.adjustment = fixed(line.height()) - h.advance; break;
    default: break;
    }
    return h;
}

bool sameOption(const QTextOption& a, const QTextOption& b)
{
    return a.alignment() == b.alignment() && a.wrapMode() == b.wrapMode() && a.flags() == b.flags()
        && a.tabStopDistance() == b.tabStopDistance() && a.textDirection() == b.textDirection()
        && a.useDesignMetrics() == b.useDesignMetrics() && a.tabs() == b.tabs();
}

} // namespace

qreal DocumentLayout::Geometry::contentWidth() const
{
    return pageWidth > 0 ? std::max<qreal>(0, pageWidth - left - right) : farAway;
}

bool DocumentLayout::Geometry::breaksLike(const Geometry& other) const
{
    return pageWidth == other.pageWidth && left == other.left && right == other.right && font == other.font
        && sameOption(option, other.option) && indentWidth == other.indentWidth;
}

DocumentLayout::DocumentLayout(QTextDocument* document)
    : QAbstractTextDocumentLayout(document), heights_(*document), viewAnchor_(document)
{
    geometry_ = currentGeometry();
    // The document tells its layout about edits and about new page sizes,
    // fonts and margins the same way; only edits come with this signal
    // first.
    connect(document, &QTextDocument::contentsChange, this,
            [this](int from, int removed, int added) { lastEdit_ = {from, removed, added}; });
    blockCount_ = document->blockCount();
}

DocumentLayout::Geometry DocumentLayout::currentGeometry() const
{
    const QTextDocument* doc = document();
    Geometry g;
    g.pageWidth = doc->pageSize().width();
    const QTextFrameFormat f = doc->rootFrame()->frameFormat();
    const qreal edge = fixed(f.border()) + fixed(f.padding());
    g.left = fixed(f.leftMargin()) + edge;
    g.right = fixed(f.rightMargin()) + edge;
    g.top = fixed(f.topMargin()) + edge;
    g.bottom = fixed(f.bottomMargin()) + edge;
    g.font = doc->defaultFont();
    g.option = doc->defaultTextOption();
    g.indentWidth = doc->indentWidth();
    return g;
}

bool DocumentLayout::isLaidOut(const QTextBlock& block) const
{
    const QTextLayout* tl = block.layout();
    if (tl->lineCount() == 0)
        return false;
    const auto it = laidOut_.constFind(tl);
    return it != laidOut_.cend() && it->generation == generation_;
}

void DocumentLayout::forgetLayouts()
{
    // Layouts of deleted paragraphs may linger in the table; a new layout at
    // the same address has no lines until laid out, so they never pass for
    // laid out. A new generation drops them all.
    ++generation_;
    laidOut_.clear();
}

qreal DocumentLayout::spacingBelow(const QTextBlock& block, const QTextBlockFormat& format) const
{
    const QTextBlock next = block.next();
    if (!next.isValid())
        return 0;
    return fixed(std::max(format.bottomMargin(), next.blockFormat().topMargin()));
}

qreal DocumentLayout::layOutBlock(const QTextBlock& block)
{
    QTextLayout* tl = block.layout();
    keepGlyphs(block, *tl);
    const QTextBlockFormat format = block.blockFormat();
    const Qt::LayoutDirection dir = block.textDirection();

    QTextOption option = geometry_.option;
    option.setTextDirection(dir);
    option.setTabs(format.tabPositions());
    Qt::Alignment align = option.alignment();
    if (format.hasProperty(QTextFormat::BlockAlignment))
        align = format.alignment();
    option.setAlignment(QStyle::visualAlignment(dir, align));
    if (format.nonBreakableLines() || geometry_.pageWidth <= 0)
        option.setWrapMode(QTextOption::ManualWrap);
    tl->setTextOption(option);
    const bool wordOrAnywhere = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;

    qreal separators = 0;
    if (option.flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
        separators = fixed(QFontMetricsF(block.charFormat().font()).horizontalAdvance(QChar(0x21B5)));
    const qreal indent = format.indent() ? fixed(format.indent() * geometry_.indentWidth) : 0;
    const qreal l = fixed(format.leftMargin()) + (dir == Qt::RightToLeft ? separators : indent);
    const qreal r = geometry_.contentWidth() - fixed(format.rightMargin()) - (dir == Qt::RightToLeft ? indent : separators);

    tl->beginLayout();
    qreal y = 0, bottom = 0;
    bool first = true;
    for (QTextLine line = tl->createLine(); line.isValid(); line = tl->createLine()) {
        line.setLeadingIncluded(true);
        qreal left = l, right = r;
        if (first) {
            const qreal textIndent = fixed(format.textIndent());
            if (dir == Qt::LeftToRight)
                left += textIndent;
            else
                right -= textIndent;
            first = false;
        }
        line.setLineWidth(right - left);
        if (fixed(line.naturalTextWidth()) > right - left) {
            // Wider than the line can be (one glyph wider than the page):
            // break anywhere, as Qt's layout does, and let it stick out.
            if (wordOrAnywhere) {
                option.setWrapMode(QTextOption::WrapAnywhere);
                tl->setTextOption(option);
            }
            line.setLineWidth(std::max(line.naturalTextWidth(), right - left));
            if (wordOrAnywhere) {
                option.setWrapMode(QTextOption::WordWrap);
                tl->setTextOption(option);
            }
        }
        const LineHeights h = lineHeights(format, line);
        line.setPosition(QPointF(left, y - h.adjustment));
        bottom = y + h.bottom;
        y += h.advance;
        widest_ = std::max(widest_, geometry_.left + left + line.naturalTextWidth() + fixed(format.rightMargin()));
    }
    y = std::max(y, bottom);
    tl->endLayout();
    laidOut_.insert(tl, {generation_, y});
    learnFrom(*tl, y, block.length() - 1);
    return y + spacingBelow(block, format);
}

void DocumentLayout::keepGlyphs(const QTextBlock& block, QTextLayout& layout)
{
    if (layout.cacheEnabled())
        return;
    layout.setCacheEnabled(true);
    keptGlyphs_.emplace_back(block);
    if (keptGlyphs_.size() <= keptGlyphBlocks)
        return;
    // The oldest lets its glyphs go; laying it out empty frees them, and it
    // is laid out again when next shown.
    const QTextBlock oldest = keptGlyphs_.front().block();
    keptGlyphs_.pop_front();
    if (QTextLayout* old = oldest.layout(); old->cacheEnabled() && old != &layout) {
        old->setCacheEnabled(false);
        old->beginLayout();
        old->endLayout();
    }
}

void DocumentLayout::learnFrom(const QTextLayout& layout, qreal linesHeight, int characters)
{
    const int lines = layout.lineCount();
    if (lines == 0)
        return;
    const qreal lineHeight = linesHeight / lines;
    typicalLineHeight_ = typicalLineHeight_ > 0 ? (typicalLineHeight_ * 7 + lineHeight) / 8 : lineHeight;
    if (characters < 16)
        return;
    qreal width = 0;
    for (int i = 0; i < lines; ++i)
        width += layout.lineAt(i).naturalTextWidth();
    const qreal advance = width / characters;
    typicalAdvance_ = typicalAdvance_ > 0 ? (typicalAdvance_ * 7 + advance) / 8 : advance;
}

qreal DocumentLayout::estimate(int characters, qreal width) const
{
    int lines = 1;
    if (geometry_.pageWidth > 0 && characters > 0) {
        const qreal wanted = characters * typicalAdvance_;
        lines = std::max(1, int(std::ceil(wanted / std::max(width, typicalAdvance_ * 4 + 1))));
    }
    return lines * typicalLineHeight_;
}

qreal DocumentLayout::estimate(const QTextBlock& block, const QTextBlockFormat& format, qreal spacing) const
{
    return estimate(block.length() - 1, geometry_.contentWidth() - format.leftMargin() - format.rightMargin())
        + spacing;
}

void DocumentLayout::estimate(const QTextBlock& first, const QTextBlock& last)
{
    // A few paragraphs laid out first tell the line height and character
    // width of this text; their layouts are dropped with all the others.
    int n = 0;
    for (QTextBlock b = first; b.isValid() && n < sampleBlocks; b = b.next(), ++n) {
        layOutBlock(b);
        if (b == last)
            break;
    }
    // Block formats are few and shared by long runs of paragraphs: each is
    // read once.
    struct Shape {
        qreal top = 0, bottom = 0, width = 0; // spacing above and below, room for the text
    };
    QHash<int, Shape> shapes;
    int lastIndex = -1;
    Shape lastShape;
    auto shapeOf = [&](const QTextBlock& b) {
        const int index = b.blockFormatIndex();
        if (index != lastIndex) {
            auto it = shapes.constFind(index);
            if (it == shapes.cend()) {
                const QTextBlockFormat f = b.blockFormat();
                it = shapes.insert(index, {f.topMargin(), f.bottomMargin(),
                                           geometry_.contentWidth() - f.leftMargin() - f.rightMargin()});
            }
            lastIndex = index;
            lastShape = *it;
        }
        return lastShape;
    };
    heights_.beginBatch();
    QTextBlock b = first;
    Shape shape = shapeOf(b);
    while (b.isValid()) {
        const QTextBlock next = b.next();
        Shape below;
        qreal spacing = 0;
        if (next.isValid()) {
            below = shapeOf(next);
            spacing = fixed(std::max(shape.bottom, below.top));
        }
        heights_.setHeightInBatch(b, estimate(b.length() - 1, shape.width) + spacing);
        if (b == last)
            break;
        b = next;
        shape = below;
    }
    heights_.finishBatch();
    forgetLayouts();
}

bool DocumentLayout::ensureLaidOut(const QTextBlock& block)
{
    if (isLaidOut(block))
        return false;
    const qreal before = heights_.height(block);
    const qreal height = layOutBlock(block);
    if (!heights_.setHeight(block, height))
        return false;
    const QTextBlock anchor = document()->findBlock(viewAnchor_.position());
    if (block.position() < anchor.position())
        shiftAboveView_ += heights_.height(block) - before;
    heightsChangedFrom(blockTop(block));
    return true;
}

void DocumentLayout::heightsChangedFrom(qreal y)
{
    changedFrom_ = changedFrom_ < 0 ? y : std::min(changedFrom_, y);
}

void DocumentLayout::reportChanges()
{
    if (painting_) {
        // Not while painting: the view must not scroll under the painter.
        if (!reportQueued_ && (changedFrom_ >= 0 || shiftAboveView_ != 0)) {
            reportQueued_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    reportQueued_ = false;
                    reportChanges();
                },
                Qt::QueuedConnection);
        }
        return;
    }
    const QSizeF size = documentSize();
    if (size != reportedSize_) {
        reportedSize_ = size;
        emit documentSizeChanged(size);
    }
    if (changedFrom_ >= 0) {
        const qreal y = changedFrom_;
        changedFrom_ = -1;
        emit update(QRectF(0, y, farAway, farAway));
    }
    if (shiftAboveView_ != 0) {
        const qreal dy = shiftAboveView_;
        shiftAboveView_ = 0;
        emit viewShifted(dy);
    }
}

QTextLayout* DocumentLayout::placed(const QTextBlock& block) const
{
    QTextLayout* tl = block.layout();
    tl->setPosition(QPointF(geometry_.left, blockTop(block)));
    return tl;
}

void DocumentLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    QTextDocument* doc = document();
    const bool paragraphsCameOrWent = doc->blockCount() != blockCount_;
    blockCount_ = doc->blockCount();
    const Geometry g = currentGeometry();
    const bool newBreaks = !g.breaksLike(geometry_);
    const bool moved = g.top != geometry_.top || g.bottom != geometry_.bottom;
    geometry_ = g;
    if (newBreaks) {
        // Every laid-out paragraph is stale; their heights stay as estimates
        // and only what is shown gets laid out again.
        forgetLayouts();
        widest_ = 0;
    }
    if (newBreaks || moved)
        heightsChangedFrom(0);

    if (!estimated_ || (estimatedWithoutWidth_ && g.pageWidth > 0)) {
        // A new document, or the first width for one: estimate it all.
        estimated_ = true;
        estimatedWithoutWidth_ = g.pageWidth <= 0;
        estimate(doc->begin(), doc->lastBlock());
        heightsChangedFrom(0);
        reportChanges();
        return;
    }
    // A new page size, default font and the like: nothing in the text.
    const Edit edit{from, charsRemoved, charsAdded};
    const bool edited = lastEdit_ == edit;
    lastEdit_ = {};
    if (!edited && from == 0 && charsRemoved == 0 && charsAdded == doc->characterCount()) {
        reportChanges();
        return;
    }

    const QTextBlock first = doc->findBlock(from);
    QTextBlock last = doc->findBlock(from + charsAdded);
    if (!last.isValid())
        last = doc->lastBlock();
    const QTextBlock before = first.previous();
    const qreal oldEnd = blockTop(last) + heights_.height(last);
    const bool few = last.blockNumber() - first.blockNumber() < eagerBlocks;
    if (!edited) {
        // Formats laid on from outside the text (a highlighter's, an input
        // method's preedit): laid out again when shown or asked for.
        if (few) {
            for (QTextBlock b = first; b.isValid(); b = b.next()) {
                b.clearLayout();
                if (b == last)
                    break;
            }
        } else {
            forgetLayouts();
        }
        const qreal top = blockTop(first);
        emit update(QRectF(0, top, farAway, oldEnd - top));
        reportChanges();
        return;
    }
    if (few) {
        for (QTextBlock b = first; b.isValid(); b = b.next()) {
            b.clearLayout();
            ensureLaidOut(b);
            if (b == last)
                break;
        }
    } else {
        estimate(first, last);
        heightsChangedFrom(blockTop(first));
    }
    // The spacing below the paragraph before depends on the first one's.
    if (before.isValid()) {
        const QTextBlockFormat format = before.blockFormat();
        const qreal spacing = spacingBelow(before, format);
        const qreal height = isLaidOut(before) ? laidOut_.value(before.layout()).lines + spacing
                                               : estimate(before, format, spacing);
        if (heights_.setHeight(before, height))
            heightsChangedFrom(blockTop(before));
    }
    // The changed paragraphs are drawn again whatever their height, and all
    // below them when paragraphs came or went: the text there moved.
    const qreal top = blockTop(before.isValid() ? before : first);
    const qreal end = blockTop(last) + heights_.height(last);
    emit update(QRectF(0, top, farAway, paragraphsCameOrWent ? farAway : std::max(end, oldEnd) - top));
    reportChanges();
}

void DocumentLayout::setView(qreal top, qreal height)
{
    if (settingView_)
        return;
    {
        QScopedValueRollback guard(settingView_, true);
        viewHeight_ = height;
        const QTextBlock anchor = blockAtY(top);
        viewAnchor_.setPosition(anchor.position());
        // A view's height around the view is laid out ahead, so that a
        // scroll step finds its paragraphs ready. Going down from the top
        // moves nothing that is shown.
        const qreal below = top + 2 * height;
        for (QTextBlock b = anchor; b.isValid() && blockTop(b) < below; b = b.next())
            ensureLaidOut(b);
        // Going up moves the view's text down by the change in height,
        // which the view takes back by scrolling (viewShifted).
        qreal reach = height;
        for (QTextBlock b = anchor.previous(); b.isValid() && reach > 0; b = b.previous()) {
            ensureLaidOut(b);
            reach -= heights_.height(b);
        }
    }
    reportChanges();
}

QSizeF DocumentLayout::documentSize() const
{
    const qreal width = geometry_.pageWidth > 0 ? geometry_.pageWidth : widest_ + geometry_.right;
    return QSizeF(width, geometry_.top + heights_.total() + geometry_.bottom);
}

QRectF DocumentLayout::frameBoundingRect(QTextFrame* frame) const
{
    if (frame != document()->rootFrame())
        return QRectF();
    return QRectF(QPointF(0, 0), documentSize());
}

QRectF DocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (!block.isValid() || block.document() != document())
        return QRectF();
    auto* self = const_cast<DocumentLayout*>(this);
    if (self->ensureLaidOut(block))
        self->reportChanges();
    const QTextLayout* tl = placed(block);
    // Moved, not shifted, to the layout's place, as Qt's layout does: the
    // caret's place is this corner plus the line's own x.
    QRectF rect = tl->boundingRect();
    rect.moveTopLeft(tl->position());
    return rect;
}

int DocumentLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const
{
    // As Qt's layout answers for the root frame: a point above a paragraph
    // is before it, one below after it, one beside a line on the line.
    auto* self = const_cast<DocumentLayout*>(this);
    const QTextBlock block = blockAtY(point.y());
    if (self->ensureLaidOut(block))
        self->reportChanges();
    const QTextLayout* tl = placed(block);
    const QRectF rect = tl->boundingRect().translated(tl->position());

    int position = block.position();
    bool exact = false;
    int end = document()->characterCount() - 1;
    if (point.y() > rect.bottom()) {
        position += block.length();
    } else if (point.y() >= rect.top()) {
        const QPointF p = point - tl->position();
        int offset = 0;
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            const QRectF lr = line.naturalTextRect();
            if (lr.top() > p.y()) {
                offset = std::min(offset, line.textStart());
            } else if (lr.bottom() <= p.y()) {
                offset = std::max(offset, line.textStart() + line.textLength());
            } else {
                exact = lr.left() <= p.x() && lr.right() >= p.x();
                offset = line.xToCursor(p.x(), accuracy == Qt::ExactHit ? QTextLine::CursorOnCharacter
                                                                        : QTextLine::CursorBetweenCharacters);
                break;
            }
        }
        position += offset;
        end += int(tl->preeditAreaText().size());
    }
    if (accuracy == Qt::ExactHit && !exact)
        return -1;
    return std::clamp(position, 0, end);
}

void DocumentLayout::draw(QPainter* painter, const PaintContext& context)
{
    const QSizeF size = documentSize();
    const QRectF frame(QPointF(0, 0), size);
    const QRectF clip = context.clip.isValid() ? context.clip : frame;
    // Text stays within the frame's margins, as in Qt's layout.
    const QRectF textClip = clip & frame.adjusted(geometry_.left, 0, -geometry_.right, 0);
    QScopedValueRollback guard(painting_, true);
    for (QTextBlock b = blockAtY(clip.top()); b.isValid() && blockTop(b) <= clip.bottom(); b = b.next()) {
        ensureLaidOut(b);
        drawBlock(painter, context, b, textClip);
    }
    reportChanges(); // queued: the view must not scroll while painting
}

void DocumentLayout::drawBlock(QPainter* painter, const PaintContext& context, const QTextBlock& block,
                               const QRectF& clip) const
{
    const QTextLayout* tl = placed(block);
    const QRectF rect = tl->boundingRect().translated(tl->position());
    if (!block.isVisible() || rect.bottom() < clip.top() || rect.top() > clip.bottom())
        return;
    const QTextBlockFormat format = block.blockFormat();
    const QBrush background = format.background();
    if (background.style() != Qt::NoBrush) {
        painter->save();
        painter->setBrushOrigin(rect.topLeft());
        painter->fillRect(rect, background);
        painter->restore();
    }

    // The selection, find's and speech's highlights, as format ranges.
    QList<QTextLayout::FormatRange> selections;
    const int position = block.position();
    const int length = block.length();
    for (const Selection& range : context.selections) {
        const int start = range.cursor.selectionStart() - position;
        const int end = range.cursor.selectionEnd() - position;
        if (start < length && end > 0 && end > start) {
            selections.append({start, end - start, range.format});
        } else if (!range.cursor.hasSelection() && range.format.hasProperty(QTextFormat::FullWidthSelection)
                   && block.contains(range.cursor.position())) {
            // A full-width highlight marks the caret's line.
            const QTextLine line = tl->lineForTextPosition(range.cursor.position() - position);
            QTextLayout::FormatRange o{line.textStart(), line.textLength(), range.format};
            if (o.start + o.length == length - 1)
                ++o.length; // the paragraph's end
            selections.append(o);
        }
    }

    const QPen pen = painter->pen();
    painter->setPen(context.palette.color(QPalette::Text));
    tl->draw(painter, QPointF(), selections, clip);
    int caret = context.cursorPosition;
    if ((caret >= position && caret < position + length) || (caret < -1 && !tl->preeditAreaText().isEmpty())) {
        caret = caret < -1 ? tl->preeditAreaPosition() - (caret + 2) : caret - position;
        tl->drawCursor(painter, QPointF(), caret, cursorWidth_);
    }
    painter->setPen(pen);
}

void useDocumentLayout(QTextDocument& document)
{
    // Looked for among the children: asking the document for its layout
    // would make it build Qt's own first.
    if (!document.findChild<DocumentLayout*>(QString(), Qt::FindDirectChildrenOnly))
        document.setDocumentLayout(new DocumentLayout(&document));
}

} // namespace tk::document
