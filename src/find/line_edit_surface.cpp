#include "line_edit_surface.h"

#include "document/qt_text_surface.h"

#include <QLineEdit>

#include <algorithm>

namespace tk::find {

using document::QtTextSurface;

int LineEditSurface::caret() const
{
    return edit_.hasSelectedText() ? edit_.selectionStart() : edit_.cursorPosition();
}

std::string LineEditSurface::before(int n) const
{
    const int end = caret();
    const int count = std::clamp(n, 0, end);
    return QtTextSurface::toCodes(edit_.text().mid(end - count, count));
}

void LineEditSurface::replaceBefore(int k, std::string_view text)
{
    const int end = caret();
    const int count = std::clamp(k, 0, end);
    edit_.setSelection(end - count, count);
    edit_.insert(QtTextSurface::fromCodes(text));
}

void LineEditSurface::insert(std::string_view text) { edit_.insert(QtTextSurface::fromCodes(text)); }

} // namespace tk::find
