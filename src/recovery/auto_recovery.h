#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QWidget;

namespace tk::document {
class Form1;
}

namespace tk::recovery {

// A document a run of the program kept and never got to save or close.
struct Recovered {
    QString rtfPath;   // the content, as RTF
    QString infoPath;  // caption and time
    QString caption;   // the window's caption then: its path, or "Document N"
    QDateTime kept;    // when the copy was written
};

// Keeps a copy of every changed document in the recovery folder, so that
// nothing typed since the last save is lost when the program is killed, the
// machine stops or the session ends. Each run writes into a folder of its
// own, locked while it runs; a folder whose lock is free belongs to a run
// that ended without tidying up, and its documents are offered at the next
// start.
//
// A copy is written (atomically) every interval while a document has
// unsaved changes, and removed once the document is saved (its modified
// flag clears) or its window is closed by the person. When the session or
// the program ends with documents still open, every changed one is written
// at once and kept.
class AutoRecovery : public QObject {
    Q_OBJECT
public:
    using Documents = std::function<QList<document::Form1*>()>;
    explicit AutoRecovery(Documents documents, QObject* parent = nullptr);
    ~AutoRecovery() override;

    // $XDG_DATA_HOME/tamilkalvem/recovery
    static QString folder();
    // The interval between copies: the settings value "Autosave seconds",
    // two minutes when it is missing or not a number of at least 1.
    static int intervalSeconds();

    int intervalMs() const { return timer_.interval(); }

    // Writes a copy of each changed document whose text changed since its
    // last copy; false with *reason when one could not be written.
    bool writeChanged(QString* reason = nullptr);

    // What runs that ended without tidying up left behind, oldest first.
    // Their folders stay locked by this run until offer() has gone through
    // them.
    QList<Recovered> leftBehind();

    // Asks about each document left behind (its caption and time): Yes opens
    // it as a changed document made by newDocument, No removes it, Cancel
    // keeps it for the next start. Returns the documents opened.
    QList<document::Form1*> offer(QWidget* parent, const std::function<document::Form1*()>& newDocument);

public slots:
    // The session ends: every changed document is written now and kept
    // when its window then closes without a question.
    void sessionEnding();

private:
    struct Copy {
        QString id;
        const void* document = nullptr; // the text document last written
        int revision = -1;
    };
    void track(document::Form1* form);
    void discard(QObject* form);
    bool writeCopy(document::Form1& form, Copy& copy, QString* reason);
    void releaseOrphans();

    Documents documents_;
    QTimer timer_;
    QString session_;                      // this run's folder
    std::unique_ptr<QLockFile> lock_;
    QHash<QObject*, Copy> copies_;
    int nextId_ = 1;
    bool ending_ = false;
    QList<std::shared_ptr<QLockFile>> orphanLocks_;
    QStringList orphanFolders_;
};

} // namespace tk::recovery
