#include "form3.h"

#include "direct_ss1.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

namespace tk::speech {

namespace {

QScrollBar* makeBar(const char* name, int min, int max, int small, int large, QWidget* parent)
{
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(min, max);
    bar->setSingleStep(small);
    bar->setPageStep(large);
    bar->setValue(min);
    bar->setMinimumWidth(260);
    return bar;
}

QLabel* makeLabel(const char* name, const QString& text, QScrollBar* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(QFont(QStringLiteral("Verdana")));
    label->setBuddy(buddy);
    return label;
}

} // namespace

Form3::Form3(std::function<DirectSS1*()> activeControl, QWidget* parent)
    : QDialog(parent),
      HScroll1(makeBar("HScroll1", DirectSS1::minSpeed, DirectSS1::maxSpeed, 5, 50, this)),
      HScroll2(makeBar("HScroll2", DirectSS1::minPitch, DirectSS1::maxPitch, 2, 10, this)),
      HScroll3(makeBar("HScroll3", DirectSS1::minMode, DirectSS1::maxMode, 1, 2, this)),
      Command1(new QPushButton(QStringLiteral("&Ok"), this)),
      Command2(new QPushButton(QStringLiteral("Cancel"), this)),
      activeControl_(std::move(activeControl))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Options"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    Label1 = makeLabel("Label1", QStringLiteral("Speed"), HScroll1, this);
    Label2 = makeLabel("Label2", QStringLiteral("Pitch"), HScroll2, this);
    Label3 = makeLabel("Label3", QStringLiteral("Mode"), HScroll3, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(HScroll1, 0, 1, 1, 2);
    layout->addWidget(Label2, 1, 0);
    layout->addWidget(HScroll2, 1, 1, 1, 2);
    layout->addWidget(Label3, 2, 0);
    layout->addWidget(HScroll3, 2, 1, 1, 2);
    layout->addWidget(Command1, 3, 1);
    layout->addWidget(Command2, 3, 2);

    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
}

void Form3::showEvent(QShowEvent* event)
{
    for (QScrollBar* bar : {HScroll1, HScroll2, HScroll3})
        bar->setValue(bar->minimum());
    QDialog::showEvent(event);
}

// Speed, then Pitch, then CurrentMode. With no document open there is no
// control to set, and nothing to say about it.
void Form3::Command1_Click()
{
    DirectSS1* control = activeControl_ ? activeControl_() : nullptr;
    if (control) {
        control->SetSpeed(HScroll1->value());
        control->SetPitch(HScroll2->value());
        control->SetCurrentMode(HScroll3->value());
    }
    close();
    if (control) {
        if (auto* box = qobject_cast<QWidget*>(control->parent()))
            (box->parentWidget() ? box->parentWidget() : box)->update();
    }
}

void Form3::Command2_Click() { close(); }

} // namespace tk::speech
