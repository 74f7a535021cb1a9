// Another program with a text field, for the tests that pick a window of
// another process: a line edit holding argv[1] at (argv[2], argv[3]). It
// says "ready X Y" with the field's centre on the screen, answers "text"
// with the field's text and ends on "quit".
#include <QApplication>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4)
        return 64;
    QLineEdit field;
    field.setWindowTitle(QStringLiteral("Another program"));
    field.setAccessibleName(QStringLiteral("field"));
    field.setText(QString::fromUtf8(argv[1]));
    field.setGeometry(QString::fromLatin1(argv[2]).toInt(), QString::fromLatin1(argv[3]).toInt(), 320, 40);
    field.show();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char line[64] = {};
        if (!std::fgets(line, sizeof line, stdin) || QByteArray(line).startsWith("quit")) {
            app.quit();
            return;
        }
        std::printf("%s\n", field.text().toUtf8().constData());
        std::fflush(stdout);
    });
    QMetaObject::invokeMethod(&app, [&] {
        const QPoint centre = field.mapToGlobal(field.rect().center());
        std::printf("ready %d %d\n", centre.x(), centre.y());
        std::fflush(stdout);
    }, Qt::QueuedConnection);
    return app.exec();
}
