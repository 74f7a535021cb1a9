#pragma once

#include "engine/text_surface.h"

class QLineEdit;

namespace tk::find {

// The engine's view of a one-line box: the characters before its caret, as
// font codes. The caret is the start of the selection, as in a document.
class LineEditSurface final : public engine::TextSurface {
public:
    explicit LineEditSurface(QLineEdit& edit) : edit_(edit) {}

    int caret() const override;
    std::string before(int n) const override;
    void replaceBefore(int k, std::string_view text) override;
    void insert(std::string_view text) override;

private:
    QLineEdit& edit_;
};

} // namespace tk::find
