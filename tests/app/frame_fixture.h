#pragma once

// A shown main frame with the dialogs scripted and the word memory in a
// temporary configuration folder.
#include "../memory/memory_fixture.h"
#include "../support/scripted_dialogs.h"

#include "app/frame/mdi_form1.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <functional>

struct FrameFixture {
    TemporaryConfigFolder config;
    ScriptedDialogs dialogs;
    QPointer<tk::app::MDIForm1> frame;

    // beforeStart runs with the settings in place and no frame yet, as the
    // settings a previous run left behind.
    explicit FrameFixture(const std::function<void()>& beforeStart = {})
    {
        if (beforeStart)
            beforeStart();
        frame = new tk::app::MDIForm1;
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
    }
    ~FrameFixture()
    {
        if (frame) {
            for (auto* form : frame->documents())
                form->closeWithoutQuestion();
            delete frame.data();
        }
    }

    QAction* item(const char* name) const { return frame->item(QString::fromLatin1(name)); }
    tk::document::Form1* newDocument()
    {
        item("new")->trigger();
        return frame->ActiveForm();
    }
    // The document windows' captions, oldest first.
    QStringList captions() const
    {
        QStringList list;
        for (auto* form : frame->documents())
            list << form->windowTitle();
        return list;
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};
