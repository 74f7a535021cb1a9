#include "window_text.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace tk::conversion {

namespace {

// The pointer may rest on a part of a field (a text edit's viewport, a
// combo box's button): the field is the nearest of a few ancestors.
constexpr int ancestorsTried = 3;

QWidget* textFieldOf(QWidget* w)
{
    for (int up = 0; w && up <= ancestorsTried; ++up, w = w->parentWidget()) {
        if (auto* combo = qobject_cast<QComboBox*>(w))
            return combo->isEditable() ? combo->lineEdit() : nullptr;
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w))
            return w;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

} // namespace

WindowHandle WindowFromPoint(QPoint screenPoint)
{
    if (QWidget* under = QApplication::widgetAt(screenPoint))
        return {textFieldOf(under), {}};
    // Over this program's windows nothing else is looked for: another
    // program's field there is hidden behind them.
    if (QApplication::topLevelAt(screenPoint))
        return {};
    return {nullptr, atspi::textAt(screenPoint)};
}

std::optional<QString> gettext(const WindowHandle& wnd)
{
    if (auto* line = qobject_cast<QLineEdit*>(wnd.widget))
        return line->text();
    if (auto* edit = qobject_cast<QTextEdit*>(wnd.widget))
        return edit->toPlainText();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(wnd.widget))
        return plain->toPlainText();
    if (!wnd.accessible.isNull())
        return atspi::text(wnd.accessible);
    return std::nullopt;
}

bool SetText(const WindowHandle& wnd, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(wnd.widget)) {
        // A line edit cuts what is longer than its limit: better not at all.
        if (line->isReadOnly() || text.size() > line->maxLength())
            return false;
        line->setText(text);
        return true;
    }
    QTextDocument* document = nullptr;
    if (auto* edit = qobject_cast<QTextEdit*>(wnd.widget); edit && !edit->isReadOnly())
        document = edit->document();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(wnd.widget); plain && !plain->isReadOnly())
        document = plain->document();
    if (document) {
        // One step the person can undo there, in the format the text starts with.
        QTextCursor all(document);
        all.select(QTextCursor::Document);
        all.insertText(text);
        return true;
    }
    if (!wnd.accessible.isNull())
        return atspi::setText(wnd.accessible, text);
    return false;
}

} // namespace tk::conversion
