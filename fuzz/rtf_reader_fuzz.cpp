// Feeds arbitrary bytes to the RTF reader. Beyond not crashing, whatever the
// reader accepts must write out as RTF that reads back to the same document.
#include "rtf/rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument first;
    first.setPlainText(QStringLiteral("before"));
    if (!tk::rtf::rtfToDocument(input, first)) {
        if (first.toPlainText() != QStringLiteral("before")) {
            std::fprintf(stderr, "a failed read changed the document\n");
            std::abort();
        }
        return 0;
    }
    const QByteArray written = tk::rtf::documentToRtf(first);
    QTextDocument second;
    if (!tk::rtf::rtfToDocument(written, second)) {
        std::fprintf(stderr, "the writer's own output does not read\n");
        std::abort();
    }
    if (const QByteArray again = tk::rtf::documentToRtf(second); again != written) {
        std::fprintf(stderr, "written RTF does not read back the same:\n%s\nbut as:\n%s\n", written.constData(),
                     again.constData());
        std::abort();
    }
    return 0;
}
