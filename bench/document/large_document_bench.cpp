// Opening, scrolling and resizing long documents in the shown document
// window, each timed until the screen is painted again.
#include "bench_documents.h"

#include "document/rtf/document_io.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double milliseconds(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Writes the text as a file of the given type.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QString& text, int type)
{
    QTextDocument doc;
    doc.setPlainText(text);
    const QString path = dir.filePath(name);
    if (!tk::document::saveFile(doc, path, type))
        std::printf("  could not write %s\n", qPrintable(path));
    return path;
}

void opening(BenchFrame& frame, const QString& path, const char* what, int rounds = 3)
{
    std::vector<double> loads, usable;
    for (int round = 0; round < rounds; ++round) {
        tk::document::Form1 form(frame.links());
        form.show();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        form.RichTextBox1->LoadFile(path, tk::document::RichTextFile);
        const double loaded = milliseconds(timer);
        timer.restart();
        // Usable: painted, scrolled to the end and a key typed there.
        QCoreApplication::processEvents();
        QTest::keyClick(form.RichTextBox1, Qt::Key_End, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QTest::keyClick(form.RichTextBox1, 'k');
        QCoreApplication::processEvents();
        loads.push_back(loaded);
        usable.push_back(milliseconds(timer));
    }
    std::printf("  open %-22s %8.1f ms to load, then %6.1f ms to paint, reach the end and take a key\n", what,
                median(loads), median(usable));
}

// Page down and page up through the scroll bar, and resizes, in 10 MB.
void scrolling(BenchFrame& frame, const QString& text)
{
    tk::document::Form1 form(frame.links());
    form.show();
    form.RichTextBox1->SetText(text);
    form.RichTextBox1->SetSelStart(int(text.size() / 3));
    QCoreApplication::processEvents();

    std::vector<double> steps;
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(form.RichTextBox1, Qt::Key_PageDown);
        QCoreApplication::processEvents();
        steps.push_back(milliseconds(timer));
    }
    std::printf("  page down in 10 MB:            %8.2f ms per step, painted\n", median(steps));

    steps.clear();
    QScrollBar* bar = form.RichTextBox1->verticalScrollBar();
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer timer;
        timer.start();
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCoreApplication::processEvents();
        steps.push_back(milliseconds(timer));
    }
    std::printf("  scroll bar page up in 10 MB:   %8.2f ms per step, painted\n", median(steps));

    steps.clear();
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer timer;
        timer.start();
        form.resize(i % 2 ? 1024 : 700, 640);
        QCoreApplication::processEvents();
        steps.push_back(milliseconds(timer));
    }
    std::printf("  resize with 10 MB open:        %8.2f ms until painted\n", median(steps));
}

} // namespace

// No argument: everything. "open": one opening of 10 MB of each type;
// "scroll": the scrolling and resizing only (for running under callgrind).
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    BenchFrame frame;
    QTemporaryDir dir;
    const QString ten = tamilText(qsizetype(10) << 20);
    const QByteArray only = argc > 1 ? QByteArray(argv[1]) : QByteArray();

    std::printf("long documents in the shown document window (median of repeated runs)\n");
    if (only == "open") {
        opening(frame, writeFile(dir, "ten.rtf", ten, tk::document::RichTextFile), "10 MB RTF:", 1);
        opening(frame, writeFile(dir, "ten.txt", ten, tk::document::PlainTextFile), "10 MB plain text:", 1);
        return 0;
    }
    if (only.isEmpty()) {
        opening(frame, writeFile(dir, "ten.rtf", ten, tk::document::RichTextFile), "10 MB RTF:");
        opening(frame, writeFile(dir, "ten.txt", ten, tk::document::PlainTextFile), "10 MB plain text:");
        opening(frame, writeFile(dir, "forty.rtf", tamilText(qsizetype(40) << 20), tk::document::RichTextFile),
                "40 MB RTF:");
    }
    scrolling(frame, ten);
    return 0;
}
