#include "form2.h"

#include "phonetic_line_edit.h"
#include "replace_all.h"

#include "document/file_progress.h"
#include "document/rich_text_box.h"
#include "document/text_search.h"
#include "seam/common_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tk::find {

namespace {

template <typename W, typename... Args>
W* named(const char* name, Args&&... args)
{
    auto* widget = new W(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

Form2::Form2(QAction* convert, std::function<document::RichTextBox*()> activeBox, QWidget* parent)
    : QDialog(parent),
      Frame1(named<QGroupBox>("Frame1", QStringLiteral("Find and Replace"), this)),
      Label1(named<QLabel>("Label1", QStringLiteral("Find what:"), Frame1)),
      Text1(named<PhoneticLineEdit>("Text1", convert, Frame1)),
      Label2(named<QLabel>("Label2", QStringLiteral("Replace with:"), Frame1)),
      Text2(named<PhoneticLineEdit>("Text2", convert, Frame1)),
      Frame2(named<QGroupBox>("Frame2", Frame1)),
      Option1(named<QRadioButton>("Option1", QStringLiteral("Whole word"), Frame2)),
      Option2(named<QRadioButton>("Option2", QStringLiteral("Match case"), Frame2)),
      Check1(named<QCheckBox>("Check1", QStringLiteral("From start"), Frame1)),
      Command1(named<QPushButton>("Command1", QStringLiteral("Search"), this)),
      Command2(named<QPushButton>("Command2", QStringLiteral("E&xit"), this)),
      activeBox_(std::move(activeBox))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Replace"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    const QFont verdana(QStringLiteral("Verdana"));
    for (QWidget* w : std::initializer_list<QWidget*>{Frame1, Label1, Label2, Option1, Option2, Check1, Command1,
                                                       Command2})
        w->setFont(verdana);
    Label1->setBuddy(Text1);
    Label2->setBuddy(Text2);
    Option1->setChecked(true);
    Check1->setChecked(true);
    Command1->setDefault(true);

    auto* options = new QHBoxLayout(Frame2);
    options->addWidget(Option1);
    options->addWidget(Option2);

    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Text1, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Text2, 1, 1);
    grid->addWidget(Frame2, 2, 0, 1, 2);
    grid->addWidget(Check1, 3, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());

    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
}

QString Form2::countMessage(qint64 count)
{
    return QStringLiteral("The replacement have been made  %1 times").arg(count);
}

void Form2::Command1_Click()
{
    auto& seam = seam::dialogs();
    const QString text = Text1->text();
    const QString replacement = Text2->text();
    qint64 count = 0;
    if (text == replacement || text.isEmpty() || replacement.isEmpty()) {
        seam.message(this, seam::messageTitle, QStringLiteral("Both text boxes are same or niether of them is blank"));
    } else if (document::RichTextBox* box = activeBox_ ? activeBox_() : nullptr) {
        const int options = Option1->isChecked() ? document::WholeWord : Option2->isChecked() ? document::MatchCase : 0;
        const document::BusyPointer busy;
        count = replaceAll(*box, text, replacement, options, Check1->isChecked());
    } else {
        seam.message(this, seam::messageTitle, QStringLiteral("There is no document open to replace in."));
        return;
    }
    seam.message(this, QStringLiteral("Tamil Kalvm"), countMessage(count));
}

void Form2::Command2_Click()
{
    seam::dialogs().beep();
    close();
}

} // namespace tk::find
