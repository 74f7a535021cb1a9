#pragma once

#include <QColor>
#include <QFont>
#include <QLineEdit>
#include <QString>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace tk::seam {

// Everything that needs a person to answer: the platform's file, print,
// font and colour dialogs, the message boxes, the one-line input box and the
// system beep. The program talks to people only through this seam, so tests
// install a scripted implementation and never block on a real modal dialog.
class DialogSeam {
public:
    enum class Answer { Yes, No, Cancel, Ok };

    virtual ~DialogSeam() = default;

    // Each returns nothing when the person cancels. start is the folder to
    // show, with the file name to propose. selectedFilter, when given, holds
    // the filter to show first and gets the one the person left chosen.
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                                const QString& filter, const QString& start) = 0;
    virtual std::optional<QString> saveFileName(QWidget* parent, const QString& title,
                                                const QString& filter, const QString& start) = 0;
    // The Save dialog that also tells which filter the person chose:
    // filterIndex (from 1) picks the one shown first and gets the chosen one.
    // Seams that cannot tell leave it as it was.
    virtual std::optional<QString> saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                                const QString& start, int& filterIndex)
    {
        (void)filterIndex;
        return saveFileName(parent, title, filter, start);
    }
    virtual bool printer(QWidget* parent, QPrinter& printer) = 0;
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial) = 0;
    virtual std::optional<QColor> color(QWidget* parent, const QColor& initial) = 0;

    // Yes, No or Cancel; closing the box counts as Cancel.
    virtual Answer question(QWidget* parent, const QString& title, const QString& text) = 0;
    // A message with an OK button.
    virtual void message(QWidget* parent, const QString& title, const QString& text) = 0;
    // The one-line input box; nothing when cancelled.
    virtual std::optional<QString> input(QWidget* parent, const QString& title,
                                         const QString& prompt, const QString& defaultText) = 0;
    virtual void beep() = 0;
    // The input box with an editor of the caller's (one that types Tamil, say),
    // which the box shows in place of a plain line and leaves to the caller.
    // Unless a seam knows better, it is the plain input box given the
    // editor's text, so a scripted answer serves both.
    virtual std::optional<QString> inputWith(QWidget* parent, const QString& title, const QString& prompt,
                                             QLineEdit& editor)
    {
        return input(parent, title, prompt, editor.text());
    }
};

// The title of the program's own message boxes and progress dialogs.
inline const QString messageTitle = QStringLiteral("Tamil Kalvem");

// The file types the Open and Save dialogs offer, in CommonDialog's form.
inline const QString documentFilter =
    QStringLiteral("Rich Text (*.rtf)|*.rtf|Text (*.txt)|*.txt|All Files (*.*)|*.*");

// The seam in use: Qt's own dialogs unless a test installed another.
DialogSeam& dialogs();
// Installs seam (not owned) for the rest of the run; nullptr restores Qt's.
void setDialogs(DialogSeam* seam);

// The frame's one common dialog. Every member keeps its value from one use
// to the next, so a command that sets no title or filter shows the dialog as
// the last command left it. The Show calls return false when the person
// cancelled; the members then keep their earlier values.
class CommonDialog {
public:
    CommonDialog();
    ~CommonDialog();

    QString DialogTitle;
    QString Filter;      // "Description|pattern|Description|pattern"
    QString FileName;    // "" until something is chosen
    int FilterIndex = 1; // the filter shown first by Save, and then the one chosen
    // The folder the Open and Save dialogs start in when FileName is no whole
    // path; when empty, the folder of the last file chosen, else the user's
    // documents folder (never the program's working folder). They propose
    // FileName's name in it.
    QString InitDir;
    // Added by ShowSave to a chosen name without an extension when the filter
    // left chosen names none of its own ("All Files (*.*)"; "Text (*.txt)"
    // gives "txt").
    QString DefaultExt;
    QString FontName = QStringLiteral("Kolvani");
    double FontSize = 14.25;
    bool FontBold = false;
    bool FontItalic = false;
    QColor Color = Qt::black;

    bool ShowOpen(QWidget* parent = nullptr);
    bool ShowSave(QWidget* parent = nullptr);
    bool ShowPrinter(QWidget* parent = nullptr);
    bool ShowFont(QWidget* parent = nullptr);
    bool ShowColor(QWidget* parent = nullptr);

    // The printer chosen by the last ShowPrinter (the system default before).
    QPrinter& printer();

    // "All Files (*.*)|*.*" as Qt's file dialogs write it.
    static QString qtFilter(const QString& filter);
    // The user's documents folder, or the home folder when there is none.
    static QString documentsFolder();

private:
    QString startPath() const;
    void remember(const QString& path);

    std::unique_ptr<QPrinter> printer_;
    QString lastFolder_;
};

} // namespace tk::seam
