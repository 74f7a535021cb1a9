#include "spelling_dialog.h"

#include "seam/common_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tk::spelling {

namespace {

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

QString completeMessage(int changed)
{
    return changed == 1 ? QStringLiteral("The spelling check is complete. 1 word was changed.")
                        : QStringLiteral("The spelling check is complete. %1 words were changed.").arg(changed);
}

SpellingDialog::SpellingDialog(QWidget* parent)
    : QDialog(parent),
      notInDictionary(new QLabel(this)),
      sentence(new QTextEdit(this)),
      changeTo(new QLineEdit(this)),
      suggestionList(new QListWidget(this)),
      ignoreButton(makeButton("Ignore", QStringLiteral("&Ignore"), this)),
      ignoreAllButton(makeButton("IgnoreAll", QStringLiteral("I&gnore All"), this)),
      addButton(makeButton("Add", QStringLiteral("&Add to dictionary"), this)),
      changeButton(makeButton("Change", QStringLiteral("&Change"), this)),
      changeAllButton(makeButton("ChangeAll", QStringLiteral("Change A&ll"), this)),
      closeButton(makeButton("Close", QStringLiteral("Close"), this))
{
    setObjectName(QStringLiteral("SpellingDialog"));
    setWindowTitle(QStringLiteral("Spelling"));
    setModal(false);
    sentence->setObjectName(QStringLiteral("sentence"));
    sentence->setReadOnly(true);
    sentence->setFixedHeight(90);
    changeTo->setObjectName(QStringLiteral("changeTo"));
    suggestionList->setObjectName(QStringLiteral("suggestions"));
    changeButton->setDefault(true);

    auto* changeLabel = new QLabel(QStringLiteral("C&hange to:"), this);
    changeLabel->setBuddy(changeTo);
    auto* suggestionLabel = new QLabel(QStringLiteral("Suggestio&ns:"), this);
    suggestionLabel->setBuddy(suggestionList);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {ignoreButton, ignoreAllButton, addButton})
        buttons->addWidget(button);
    buttons->addSpacing(12);
    for (QPushButton* button : {changeButton, changeAllButton})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto* layout = new QGridLayout(this);
    layout->addWidget(notInDictionary, 0, 0);
    layout->addWidget(sentence, 1, 0);
    layout->addWidget(changeLabel, 2, 0);
    layout->addWidget(changeTo, 3, 0);
    layout->addWidget(suggestionLabel, 4, 0);
    layout->addWidget(suggestionList, 5, 0);
    layout->addLayout(buttons, 1, 1, 5, 1);
    resize(520, 380);

    connect(suggestionList, &QListWidget::currentTextChanged, changeTo, &QLineEdit::setText);
    connect(suggestionList, &QListWidget::itemDoubleClicked, changeButton, &QPushButton::click);
    connect(changeTo, &QLineEdit::textChanged, this, [this](const QString& text) {
        changeButton->setEnabled(!text.isEmpty());
        changeAllButton->setEnabled(!text.isEmpty());
    });
    auto act = [this](QPushButton* button, auto step) {
        connect(button, &QPushButton::clicked, this, [this, step] {
            if (check_) {
                step(*check_);
                showWord();
            }
        });
    };
    act(ignoreButton, [](SpellCheck& c) { c.ignore(); });
    act(ignoreAllButton, [](SpellCheck& c) { c.ignoreAll(); });
    act(changeButton, [this](SpellCheck& c) { c.change(changeTo->text()); });
    act(changeAllButton, [this](SpellCheck& c) { c.changeAll(changeTo->text()); });
    act(addButton, [this](SpellCheck& c) {
        if (!c.addToDictionary())
            seam::dialogs().message(this, seam::messageTitle,
                                    QStringLiteral("The word could not be added to the personal dictionary %1.")
                                        .arg(c.word().unicode));
    });
    connect(closeButton, &QPushButton::clicked, this, &SpellingDialog::close);
}

SpellingDialog::~SpellingDialog() = default;

SpellChecker& SpellingDialog::checker()
{
    if (!checker_)
        checker_ = std::make_unique<SpellChecker>();
    return *checker_;
}

void SpellingDialog::start(QTextEdit& box, SpellChecker& checker)
{
    stop();
    if (box.document()->isEmpty())
        return;
    if (const QString missing = checker.missingMessage(); !missing.isEmpty()) {
        seam::dialogs().message(&box, seam::messageTitle, missing);
        if (!checker.has(Language::Tamil) && !checker.has(Language::English))
            return;
    }
    check_ = std::make_unique<SpellCheck>(box, checker);
    // The check ends with the document it works on.
    connect(&box, &QObject::destroyed, this, [this] {
        check_.reset();
        hide();
    });
    check_->next();
    showWord();
}

void SpellingDialog::showWord()
{
    if (!check_)
        return;
    if (check_->atEnd()) {
        finish();
        return;
    }
    const CheckedWord& word = check_->word();
    const bool tamil = word.language == Language::Tamil;
    notInDictionary->setText(tamil ? QStringLiteral("Not in the Tamil dictionary:")
                                   : QStringLiteral("Not in the English dictionary:"));

    // The sentence as the document shows it, the word in red.
    const QTextCursor around = check_->sentence();
    sentence->clear();
    sentence->document()->setDefaultFont(check_->box()->document()->defaultFont());
    QTextCursor into(sentence->document());
    into.insertFragment(QTextDocumentFragment(around));
    QTextCursor mark(sentence->document());
    mark.setPosition(word.start - around.selectionStart());
    mark.setPosition(word.end - around.selectionStart(), QTextCursor::KeepAnchor);
    QTextCharFormat red;
    red.setForeground(Qt::red);
    red.setFontUnderline(true);
    mark.mergeCharFormat(red);

    QFont font = tamil ? QFont(check_->family()) : QFont();
    if (tamil)
        font.setPointSizeF(14);
    suggestionList->setFont(font);
    changeTo->setFont(font);
    suggestionList->clear();
    suggestionList->addItems(check_->suggestions());
    if (check_->suggestions().isEmpty())
        changeTo->setText(word.text);
    else
        suggestionList->setCurrentRow(0);
    if (!isVisible())
        show();
    raise();
    activateWindow();
}

void SpellingDialog::finish()
{
    const int changed = check_->changed();
    QWidget* box = check_->box();
    check_->restoreSelection();
    stop();
    hide();
    seam::dialogs().message(box, seam::messageTitle, completeMessage(changed));
}

void SpellingDialog::stop()
{
    if (!check_)
        return;
    if (QTextEdit* box = check_->box())
        disconnect(box, &QObject::destroyed, this, nullptr);
    check_.reset();
}

void SpellingDialog::reject()
{
    stop();
    QDialog::reject();
}

void SpellingDialog::closeEvent(QCloseEvent* event)
{
    stop();
    QDialog::closeEvent(event);
}

} // namespace tk::spelling
