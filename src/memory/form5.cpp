#include "form5.h"

#include "word_memory.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Form5::Form5(QWidget* parent)
    : QDialog(parent)
    , Label1(new QLabel(QStringLiteral("Enter the word for the key"), this))
    , Text1(new QLineEdit(this))
    , Label2(new QLabel(QStringLiteral("The letter, must pressed with CTRL and SHIFT"), this))
    , Combo1(new QComboBox(this))
    , Command1(new QPushButton(QStringLiteral("Apply"), this))
    , Command2(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Enter the memory key"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    const QFont labelFont(QStringLiteral("Verdana"));
    Label1->setFont(labelFont);
    Label2->setFont(labelFont);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));

    // Every letter but "o"; a text for "o" can still be kept through Insert.
    for (const char letter : "abcdefghijklmnpqrstuvwxyz")
        if (letter)
            Combo1->addItem(QString(QLatin1Char(letter)));
    Combo1->setCurrentIndex(-1);
    Command1->setDefault(true);
    Command1->setAutoDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 2);
    layout->addWidget(Text1, 1, 0, 1, 2);
    layout->addWidget(Label2, 2, 0, 1, 2);
    layout->addWidget(Combo1, 3, 0, 1, 2);
    layout->addWidget(Command1, 4, 0);
    layout->addWidget(Command2, 4, 1);

    connect(Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form5::Command2_Click);
}

void Form5::Command1_Click()
{
    const QString letter = Combo1->currentIndex() >= 0 ? Combo1->currentText() : QString();
    QString reason;
    const auto stored = tk::memory::storeWord(letter, Text1->text(), &reason);
    if (stored == tk::memory::StoreResult::TooLong)
        emit messageRequested(tk::memory::tooLongMessage());
    else if (stored == tk::memory::StoreResult::Failed)
        emit messageRequested(reason);
}

void Form5::Command2_Click() { close(); }
