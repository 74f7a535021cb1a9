#pragma once

#include "spell_check.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace tk::spelling {

// The spelling dialog: the misspelt word in its sentence, the suggestions
// and the choices. Modeless over the document, like other word processors'
// spelling dialogs; the word it shows is selected in the document. At the
// end of the check it hides and says how many words were changed.
class SpellingDialog : public QDialog {
    Q_OBJECT
public:
    explicit SpellingDialog(QWidget* parent = nullptr);
    ~SpellingDialog() override;

    // Starts a check of box (its selection, or all of it) and shows the first
    // misspelt word; with none, says so at once. A check under way is ended.
    // An empty document starts nothing; a missing dictionary is told, and
    // the words of the other language are still checked.
    void start(QTextEdit& box, SpellChecker& checker);
    SpellCheck* check() const { return check_.get(); }
    // The dictionaries for the checks the program starts, opened on first use
    // and kept, with what Ignore All skips, for the rest of the run.
    SpellChecker& checker();

    QLabel* notInDictionary;
    QTextEdit* sentence;
    QLineEdit* changeTo;
    QListWidget* suggestionList;
    QPushButton* ignoreButton;
    QPushButton* ignoreAllButton;
    QPushButton* addButton;
    QPushButton* changeButton;
    QPushButton* changeAllButton;
    QPushButton* closeButton;

    // Escape, the close box and Close end the check where it stands.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Shows the word the check stands at, or ends the check.
    void showWord();
    void finish();
    void stop();

    std::unique_ptr<SpellChecker> checker_;
    std::unique_ptr<SpellCheck> check_;
};

// What the end of a check says.
QString completeMessage(int changed);

} // namespace tk::spelling
