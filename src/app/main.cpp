// Tamil Kalvem: the word processor's start-up.
#include "frame/mdi_form1.h"

#include "display_fonts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tamil Kalvem"));
    tk::fonts::registerDisplayFonts();
    tk::app::MDIForm1 frame;
    frame.show();
    return app.exec();
}
