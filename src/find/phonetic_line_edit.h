#pragma once

#include "line_edit_surface.h"

#include "engine/engine.h"

#include <QLineEdit>
#include <QPointer>

class QAction;

namespace tk::find {

// A one-line box that types Tamil as a document does while `convert` is
// checked: its keys go through the phonetic engine and it shows the display
// font, so "thamiz" typed here is the same codes as typed in a document.
// It keeps a key memory of its own: typing here never changes what the
// documents remember of the keys typed last. With `convert` unchecked it is
// an ordinary box.
class PhoneticLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit PhoneticLineEdit(QAction* convert, QWidget* parent = nullptr);

    const engine::EngineState& keyMemory() const { return state_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool convertOn() const;
    void followConvert();
    engine::Engine engine() { return {state_, members_, surface_}; }

    QPointer<QAction> convert_;
    engine::EngineState state_;
    engine::DocumentState members_;
    LineEditSurface surface_;
    QFont plainFont_;
};

} // namespace tk::find
