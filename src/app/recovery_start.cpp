#include "recovery_start.h"

#include "frame/mdi_form1.h"

#include "recovery/auto_recovery.h"
#include "recovery/session_end.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <cstdio>

namespace tk::app {

recovery::AutoRecovery* startRecovery(MDIForm1& frame, std::function<void()> beforeAsking)
{
    auto* keeper = new recovery::AutoRecovery([&frame] { return frame.documents(); }, &frame);
    QObject::connect(&frame, &MDIForm1::sessionEnding, keeper, &recovery::AutoRecovery::sessionEnding);
    recovery::callOnTerminationSignals(&frame, [&frame] {
        frame.endBySession();
        QCoreApplication::quit();
    });
    QTimer::singleShot(0, keeper, [keeper, &frame, beforeAsking = std::move(beforeAsking)] {
        if (beforeAsking && !keeper->leftBehind().isEmpty())
            beforeAsking();
        keeper->offer(&frame, [&frame] {
            frame.new_Click();
            return frame.ActiveForm();
        });
    });
    return keeper;
}

void typeAtStartForTests(MDIForm1& frame)
{
    const QString text = qEnvironmentVariable("TK_TYPE_AT_START");
    if (text.isEmpty())
        return;
    QTimer::singleShot(0, &frame, [&frame, text] {
        frame.new_Click();
        QWidget* box = frame.ActiveForm() ? frame.ActiveForm()->RichTextBox1 : nullptr;
        for (const QChar c : text) {
            if (!box)
                return;
            const int key = c.isLetter() ? c.toUpper().unicode() : c.unicode();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
            QApplication::sendEvent(box, &release);
        }
        std::puts("typed"); // for the test that waits to stop the program
        std::fflush(stdout);
    });
}

} // namespace tk::app
