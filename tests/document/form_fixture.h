#pragma once

// A document window on its own beside the frame's shared items, its dialogs
// scripted and its word memory in a temporary configuration folder.
#include "../memory/memory_fixture.h"
#include "../support/scripted_dialogs.h"

#include "document/form1.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QTest>

struct FormFixture {
    TemporaryConfigFolder config;
    ScriptedDialogs dialogs;
    QAction save{QStringLiteral("&Save")};
    QAction close1{QStringLiteral("Close")};
    QAction convert{QStringLiteral("&Tamil-English type")};
    QMenu popup;
    tk::seam::CommonDialog cd1;
    tk::engine::EngineState state;
    QPointer<tk::document::Form1> form;

    FormFixture()
    {
        save.setEnabled(false);
        close1.setEnabled(false);
        convert.setCheckable(true);
        convert.setChecked(true);
        form = newForm();
    }
    ~FormFixture() { delete form.data(); }

    tk::document::Form1* newForm()
    {
        auto* f = new tk::document::Form1({&save, &close1, &convert, &popup, &cd1, &state});
        f->show();
        return f;
    }
    tk::document::RichTextBox* box() const { return form->RichTextBox1; }
    QByteArray text() const { return box()->Text().toLatin1(); }
    QByteArray type(const char* keys)
    {
        QTest::keyClicks(box(), QString::fromLatin1(keys));
        return text();
    }
    void undo() { QTest::keyClick(box(), Qt::Key_Z, Qt::ControlModifier); }
    // The whole text in one family, the caret where "|" is (else at the start).
    void setText(const QString& marked, const QString& family = QStringLiteral("Kolvani"))
    {
        box()->SetText(QString(marked).remove(u'|'));
        box()->selectAll();
        box()->SetSelFontName(family);
        box()->SetSelStart(int(std::max<qsizetype>(0, marked.indexOf(u'|'))));
    }
    QString withCaret() const { return box()->Text().insert(box()->SelStart(), u'|'); }
    static void remember(const QString& name, const QString& value)
    {
        tk::memory::CreateKey(QStringLiteral("tamilkalvem"));
        tk::memory::WriteValue(QStringLiteral("tamilkalvem"), name, value);
    }
};
