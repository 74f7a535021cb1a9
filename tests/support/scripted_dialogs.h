#pragma once

// Stands in for the person at the dialogs: every question, file dialog and
// input box takes the next scripted answer, and everything shown is logged.
// A dialog nobody scripted is logged as unexpected and cancelled, so a test
// never waits on a real modal dialog.
#include "seam/common_dialog.h"

#include <QPrinter>
#include <QStringList>
#include <QTest>

#include <deque>

class ScriptedDialogs final : public tk::seam::DialogSeam {
public:
    std::deque<Answer> answers;
    // Open and Save dialogs, and the input box; a null string cancels.
    std::deque<QString> files;
    std::deque<QString> inputs;
    // The Print dialog: the PDF file to print to; a null string cancels.
    std::deque<QString> printers;
    // The filter a Save dialog is left on (as Qt writes it, "Text (*.txt)");
    // the one it shows first when none.
    std::deque<QString> saveFilters;
    // The Font and Colour dialogs: nothing (the default) cancels.
    std::deque<std::optional<QFont>> fonts;
    std::deque<std::optional<QColor>> colors;
    // The input box with the caller's editor: the next `typed` keys go into
    // the editor through its own key handling and its text is the answer;
    // with none scripted it answers as the plain input box.
    std::deque<QString> typed;
    QStringList log;
    // What the last Open or Save dialog was shown with.
    QString lastStart;
    QString lastFilter;

    ScriptedDialogs() { tk::seam::setDialogs(this); }
    ~ScriptedDialogs() override { tk::seam::setDialogs(nullptr); }

    QStringList take() { return std::exchange(log, {}); }
    // A Save dialog's answer as a test table gives it: "" none, "-"
    // cancelled, "bad" the path of a folder that does not exist, else `path`.
    void scriptSave(const QString& answer, const QString& path)
    {
        if (answer == QLatin1String("bad"))
            files.push_back(path + QStringLiteral(".missing/folder/doc.txt"));
        else if (!answer.isEmpty())
            files.push_back(answer == QLatin1String("-") ? QString() : path);
    }

    std::optional<QString> openFileName(QWidget*, const QString& title, const QString& filter,
                                        const QString& start) override
    {
        return fileDialog(QStringLiteral("open:") + title, filter, start);
    }
    std::optional<QString> saveFileName(QWidget*, const QString& title, const QString& filter,
                                        const QString& start) override
    {
        return fileDialog(QStringLiteral("save:") + title, filter, start);
    }
    std::optional<QString> saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                        const QString& start, int& filterIndex) override
    {
        if (!saveFilters.empty())
            filterIndex = int(filter.split(QStringLiteral(";;")).indexOf(take(saveFilters))) + 1;
        return saveFileName(parent, title, filter, start);
    }
    bool printer(QWidget*, QPrinter& printer) override
    {
        log << "printer";
        const std::optional<QString> file = next(printers);
        if (file) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(*file);
        }
        return bool(file);
    }
    std::optional<QFont> font(QWidget*, const QFont&) override { return log << "font", next(fonts); }
    std::optional<QColor> color(QWidget*, const QColor&) override { return log << "color", next(colors); }
    Answer question(QWidget*, const QString& title, const QString& text) override
    {
        log << QStringLiteral("question:%1:%2").arg(title, text);
        return answers.empty() ? (log << "unexpected question", Answer::Cancel) : take(answers);
    }
    void message(QWidget*, const QString& title, const QString& text) override
    {
        log << "message:" + title + ':' + text;
    }
    std::optional<QString> input(QWidget*, const QString& title, const QString& prompt, const QString&) override
    {
        log << QStringLiteral("input:%1:%2").arg(title, prompt);
        return next(inputs);
    }
    void beep() override { log << "beep"; }
    std::optional<QString> inputWith(QWidget* parent, const QString& title, const QString& prompt,
                                     QLineEdit& editor) override
    {
        if (typed.empty())
            return input(parent, title, prompt, editor.text());
        log << QStringLiteral("input:%1:%2").arg(title, prompt);
        QTest::keyClicks(&editor, take(typed));
        return editor.text();
    }

private:
    template <typename T>
    static T take(std::deque<T>& queue)
    {
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
    template <typename T>
    static std::optional<T> next(std::deque<std::optional<T>>& queue)
    {
        return queue.empty() ? std::nullopt : take(queue);
    }
    std::optional<QString> fileDialog(const QString& entry, const QString& filter, const QString& start)
    {
        log << entry;
        lastStart = start;
        lastFilter = filter;
        return next(files);
    }
    std::optional<QString> next(std::deque<QString>& queue)
    {
        if (queue.empty())
            return log << QStringLiteral("unexpected dialog"), std::nullopt;
        const QString value = take(queue);
        return value.isNull() ? std::nullopt : std::optional(value);
    }
};
