#include "phonetic_line_edit.h"

#include "display_fonts.h"
#include "document/rich_text_box.h"

#include <QAction>
#include <QKeyEvent>

namespace tk::find {

PhoneticLineEdit::PhoneticLineEdit(QAction* convert, QWidget* parent)
    : QLineEdit(parent), convert_(convert), surface_(*this), plainFont_(font())
{
    if (convert_)
        connect(convert_, &QAction::toggled, this, &PhoneticLineEdit::followConvert);
    followConvert();
}

bool PhoneticLineEdit::convertOn() const { return convert_ && convert_->isChecked(); }

void PhoneticLineEdit::followConvert()
{
    if (!convertOn()) {
        setFont(plainFont_);
        return;
    }
    QFont tamil(QString::fromLatin1(fonts::kolvaniFamily));
    tamil.setPointSizeF(14);
    fonts::applyNoLetterSpacing(tamil);
    setFont(tamil);
}

void PhoneticLineEdit::keyPressEvent(QKeyEvent* event)
{
    // As in a document: printable keys and Enter, Backspace and Tab go
    // through the engine; keys held with Ctrl or Alt are commands.
    const QString typed = event->text();
    if (!convertOn() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier) || typed.size() != 1) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar ch = typed.at(0);
    if (ch.unicode() > 0xFF) {
        // No 8-bit code: goes in unchanged and ends the word.
        QLineEdit::keyPressEvent(event);
        engine::advance(state_, ' ');
        return;
    }
    const bool control = ch == u'\t' || ch == u'\r' || ch == u'\b';
    if (!ch.isPrint() && !control) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const std::string out = engine().keyPress(char(ch.unicode()));
    if (control && out == std::string(1, char(ch.unicode()))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (!out.empty())
        surface_.insert(out);
    event->accept();
}

void PhoneticLineEdit::keyReleaseEvent(QKeyEvent* event)
{
    engine().keyRelease(document::shiftState(event->modifiers()), convertOn());
    QLineEdit::keyReleaseEvent(event);
}

} // namespace tk::find
