#pragma once

// Shared set-up for the engine tests: an engine on a string surface whose
// text and memory a test row gives directly.
#include "engine/engine.h"
#include "engine/string_surface.h"

#include <QByteArray>
#include <QString>

struct EngineFixture {
    tk::engine::EngineState state;
    tk::engine::DocumentState doc;
    tk::engine::StringSurface surface;
    tk::engine::Engine engine{state, doc, surface};

    explicit EngineFixture(const QByteArray& text = {}, int caret = -1)
        : surface(std::string_view(text.constData(), static_cast<std::size_t>(text.size())))
    {
        if (caret >= 0)
            surface.setCaret(caret);
    }
    QByteArray text() const { return QByteArray::fromStdString(surface.text()); }
};

// Keys typed one after another, each press followed by its release, as a
// person types them with the Tamil switch on.
inline QByteArray typeKeys(EngineFixture& f, const QByteArray& keys)
{
    for (const char key : keys) {
        f.surface.insert(f.engine.keyPress(key));
        f.engine.keyRelease(0, true);
    }
    return f.text();
}
