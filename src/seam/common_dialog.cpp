#include "common_dialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace tk::seam {

namespace {

// Qt's own modal dialogs: what a person meets when no test stands in.
class QtDialogs final : public DialogSeam {
public:
    std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                        const QString& filter, const QString& start) override
    {
        const QString path = QFileDialog::getOpenFileName(parent, title, start, filter);
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }
    std::optional<QString> saveFileName(QWidget* parent, const QString& title,
                                        const QString& filter, const QString& start) override
    {
        const QString path = QFileDialog::getSaveFileName(parent, title, start, filter);
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }
    std::optional<QString> saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                        const QString& start, int& filterIndex) override
    {
        const QStringList filters = filter.split(QStringLiteral(";;"));
        QString chosen = filters.value(filterIndex - 1);
        const QString path = QFileDialog::getSaveFileName(parent, title, start, filter, &chosen);
        if (path.isEmpty())
            return std::nullopt;
        if (const qsizetype i = filters.indexOf(chosen); i >= 0)
            filterIndex = int(i) + 1;
        return path;
    }
    bool printer(QWidget* parent, QPrinter& printer) override
    {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override
    {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
        return ok ? std::optional(chosen) : std::nullopt;
    }
    std::optional<QColor> color(QWidget* parent, const QColor& initial) override
    {
        const QColor chosen = QColorDialog::getColor(initial, parent);
        return chosen.isValid() ? std::optional(chosen) : std::nullopt;
    }
    Answer question(QWidget* parent, const QString& title, const QString& text) override
    {
        switch (QMessageBox::question(parent, title, text,
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
        }
    }
    void message(QWidget* parent, const QString& title, const QString& text) override
    {
        QMessageBox::information(parent, title, text);
    }
    std::optional<QString> input(QWidget* parent, const QString& title, const QString& prompt,
                                 const QString& defaultText) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal,
                                                   defaultText, &ok);
        return ok ? std::optional(text) : std::nullopt;
    }
    void beep() override { QApplication::beep(); }
    std::optional<QString> inputWith(QWidget* parent, const QString& title, const QString& prompt,
                                     QLineEdit& editor) override
    {
        QDialog box(parent);
        box.setWindowTitle(title);
        auto* layout = new QVBoxLayout(&box);
        layout->addWidget(new QLabel(prompt, &box));
        QWidget* const owner = editor.parentWidget();
        layout->addWidget(&editor);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
        layout->addWidget(buttons);
        editor.setFocus();
        const bool ok = box.exec() == QDialog::Accepted;
        // The editor is the caller's: it must outlive the box.
        layout->removeWidget(&editor);
        editor.setParent(owner);
        return ok ? std::optional(editor.text()) : std::nullopt;
    }
};

QtDialogs& qtDialogs()
{
    static QtDialogs instance;
    return instance;
}

DialogSeam* installed = nullptr;

} // namespace

DialogSeam& dialogs() { return installed ? *installed : qtDialogs(); }

void setDialogs(DialogSeam* seam) { installed = seam; }

CommonDialog::CommonDialog() = default;
CommonDialog::~CommonDialog() = default;

QString CommonDialog::qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The description often repeats the pattern already.
        out << (parts[i].contains(QLatin1Char('(')) ? parts[i]
                                                     : parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return out.join(QStringLiteral(";;"));
}

QString CommonDialog::documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString CommonDialog::startPath() const
{
    // A whole path the command offers stands as it is.
    if (QFileInfo(FileName).isAbsolute())
        return FileName;
    QString folder = !InitDir.isEmpty() ? InitDir : !lastFolder_.isEmpty() ? lastFolder_ : documentsFolder();
    const QString name = QFileInfo(FileName).fileName();
    return name.isEmpty() ? folder : QDir(folder).filePath(name);
}

void CommonDialog::remember(const QString& path)
{
    FileName = path;
    lastFolder_ = QFileInfo(path).absolutePath();
}

bool CommonDialog::ShowOpen(QWidget* parent)
{
    const auto path = dialogs().openFileName(parent, DialogTitle, qtFilter(Filter), startPath());
    if (path)
        remember(*path);
    return path.has_value();
}

bool CommonDialog::ShowSave(QWidget* parent)
{
    auto path = dialogs().saveFileName(parent, DialogTitle, qtFilter(Filter), startPath(), FilterIndex);
    if (!path)
        return false;
    if (QFileInfo(*path).suffix().isEmpty()) {
        // The chosen filter's first pattern names the extension ("*.txt");
        // one that names none ("*.*") leaves it to DefaultExt.
        const QString pattern = Filter.split(QLatin1Char('|')).value(2 * (FilterIndex - 1) + 1);
        const QString first = pattern.section(QLatin1Char(';'), 0, 0).trimmed();
        const QString extension =
            first.startsWith(QLatin1String("*.")) && first != QLatin1String("*.*") ? first.mid(2) : DefaultExt;
        if (!extension.isEmpty())
            *path += QLatin1Char('.') + extension;
    }
    remember(*path);
    return true;
}

QPrinter& CommonDialog::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool CommonDialog::ShowPrinter(QWidget* parent) { return dialogs().printer(parent, printer()); }

bool CommonDialog::ShowFont(QWidget* parent)
{
    QFont initial(FontName);
    initial.setPointSizeF(FontSize);
    initial.setBold(FontBold);
    initial.setItalic(FontItalic);
    const auto chosen = dialogs().font(parent, initial);
    if (chosen) {
        FontName = chosen->family();
        FontSize = chosen->pointSizeF();
        FontBold = chosen->bold();
        FontItalic = chosen->italic();
    }
    return chosen.has_value();
}

bool CommonDialog::ShowColor(QWidget* parent)
{
    const auto chosen = dialogs().color(parent, Color);
    if (chosen)
        Color = *chosen;
    return chosen.has_value();
}

} // namespace tk::seam
