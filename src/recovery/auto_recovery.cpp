#include "auto_recovery.h"

#include "document/form1.h"
#include "document/rtf/rtf.h"
#include "files/qt_safe_write.h"
#include "memory/memory_store.h"
#include "seam/common_dialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTextDocument>

#include <algorithm>

namespace tk::recovery {

namespace {

constexpr int defaultSeconds = 120;
const QString runPrefix = QStringLiteral("run-");

QString lockPathOf(const QString& runFolder) { return runFolder + QStringLiteral(".lock"); }

std::unique_ptr<QLockFile> lockFor(const QString& runFolder)
{
    auto lock = std::make_unique<QLockFile>(lockPathOf(runFolder));
    // Only a lock whose process is gone is free; a long run is no reason.
    lock->setStaleLockTime(0);
    return lock;
}

bool readInfo(const QString& infoPath, Recovered& r)
{
    QFile file(infoPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject info = QJsonDocument::fromJson(file.read(1 << 16)).object();
    r.caption = info.value(QStringLiteral("caption")).toString();
    r.kept = QDateTime::fromString(info.value(QStringLiteral("kept")).toString(), Qt::ISODateWithMs);
    return !r.caption.isEmpty();
}

void removeCopy(const QString& rtfPath, const QString& infoPath)
{
    // The description goes first: a copy without one is never offered.
    QFile::remove(infoPath);
    QFile::remove(rtfPath);
}

} // namespace

AutoRecovery::AutoRecovery(Documents documents, QObject* parent)
    : QObject(parent), documents_(std::move(documents))
{
    session_ = folder() + QLatin1Char('/') + runPrefix
        + QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    connect(&timer_, &QTimer::timeout, this, [this] { writeChanged(); });
    timer_.start(intervalSeconds() * 1000);
    // Windows still open when the program ends were closed by nobody: what
    // they hold is kept, as at the end of the session.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AutoRecovery::sessionEnding);
}

AutoRecovery::~AutoRecovery()
{
    timer_.stop();
    // Copies kept for the next start stay; an empty folder goes.
    if (lock_) {
        QDir(session_).rmdir(session_);
        lock_.reset();
    }
    releaseOrphans();
}

QString AutoRecovery::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tamilkalvem/recovery");
}

int AutoRecovery::intervalSeconds()
{
    bool ok = false;
    const int seconds = memory::ReadValue(QString::fromLatin1(memory::memoryKey), QStringLiteral("Autosave seconds")).toInt(&ok);
    return ok && seconds >= 1 ? std::min(seconds, 24 * 3600) : defaultSeconds;
}

void AutoRecovery::track(document::Form1* form)
{
    if (copies_.contains(form))
        return;
    Copy copy;
    copy.id = QStringLiteral("document-%1").arg(nextId_++);
    copies_.insert(form, copy);
    connect(form, &QObject::destroyed, this, &AutoRecovery::discard);
}

void AutoRecovery::discard(QObject* form)
{
    const auto it = copies_.find(form);
    if (it == copies_.end())
        return;
    // Closed by the person (saved or not, it was their decision); when the
    // session ends the copy must outlive the window.
    if (!ending_)
        removeCopy(session_ + QLatin1Char('/') + it->id + QStringLiteral(".rtf"),
                   session_ + QLatin1Char('/') + it->id + QStringLiteral(".json"));
    copies_.erase(it);
}

bool AutoRecovery::writeCopy(document::Form1& form, Copy& copy, QString* reason)
{
    if (!lock_) {
        QDir().mkpath(session_);
        lock_ = lockFor(session_);
        lock_->tryLock(0);
    }
    const QTextDocument* doc = form.RichTextBox1->document();
    const QString base = session_ + QLatin1Char('/') + copy.id;
    QJsonObject info;
    info.insert(QStringLiteral("caption"), form.windowTitle());
    info.insert(QStringLiteral("kept"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs));
    // The content first, so a description always has its content beside it.
    if (!files::writeFileSafely(base + QStringLiteral(".rtf"), rtf::documentToRtf(*doc), reason)
        || !files::writeFileSafely(base + QStringLiteral(".json"), QJsonDocument(info).toJson(), reason))
        return false;
    copy.document = doc;
    copy.revision = doc->revision();
    return true;
}

bool AutoRecovery::writeChanged(QString* reason)
{
    bool ok = true;
    for (document::Form1* form : documents_()) {
        const auto it = copies_.find(form);
        if (!form->hasUnsavedChanges()) {
            // Saved, or changed back to what was saved.
            if (it != copies_.end() && it->document) {
                removeCopy(session_ + QLatin1Char('/') + it->id + QStringLiteral(".rtf"),
                           session_ + QLatin1Char('/') + it->id + QStringLiteral(".json"));
                it->document = nullptr;
                it->revision = -1;
            }
            continue;
        }
        track(form);
        Copy& copy = copies_[form];
        const QTextDocument* doc = form->RichTextBox1->document();
        if (copy.document == doc && copy.revision == doc->revision())
            continue; // nothing new since the last copy
        ok = writeCopy(*form, copy, reason) && ok;
    }
    return ok;
}

void AutoRecovery::sessionEnding()
{
    ending_ = true;
    writeChanged();
}

QList<Recovered> AutoRecovery::leftBehind()
{
    QList<Recovered> found;
    const QDir root(folder());
    const QStringList runs = root.entryList({runPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& run : runs) {
        const QString path = root.filePath(run);
        if (path == session_)
            continue;
        if (!orphanFolders_.contains(path)) {
            std::shared_ptr<QLockFile> lock = lockFor(path);
            if (!lock->tryLock(0))
                continue; // that run is still going
            orphanLocks_ << lock;
            orphanFolders_ << path;
        }
        const QDir dir(path);
        for (const QString& info : dir.entryList({QStringLiteral("*.json")}, QDir::Files)) {
            Recovered r;
            r.infoPath = dir.filePath(info);
            r.rtfPath = r.infoPath.chopped(5) + QStringLiteral(".rtf");
            if (QFileInfo::exists(r.rtfPath) && readInfo(r.infoPath, r))
                found << r;
        }
    }
    std::sort(found.begin(), found.end(), [](const Recovered& a, const Recovered& b) { return a.kept < b.kept; });
    return found;
}

QList<document::Form1*> AutoRecovery::offer(QWidget* parent, const std::function<document::Form1*()>& newDocument)
{
    QList<document::Form1*> opened;
    auto& dialogs = seam::dialogs();
    for (const Recovered& r : leftBehind()) {
        const QString when = QLocale().toString(r.kept, QLocale::ShortFormat);
        const QString question =
            QStringLiteral("Tamil Kalvem ended without saving \"%1\". A copy was kept at %2.\n\n"
                           "Do you want to open it? (No discards the copy; Cancel asks again at the next start.)")
                .arg(QDir::toNativeSeparators(r.caption), when);
        const auto answer = dialogs.question(parent, seam::messageTitle, question);
        if (answer == seam::DialogSeam::Answer::No) {
            removeCopy(r.rtfPath, r.infoPath);
            continue;
        }
        if (answer != seam::DialogSeam::Answer::Yes)
            continue;
        document::Form1* form = newDocument();
        if (!form)
            continue;
        if (const auto loaded = form->RichTextBox1->LoadFile(r.rtfPath); !loaded.ok) {
            dialogs.message(parent, seam::messageTitle, loaded.error);
            continue; // the copy stays for another try
        }
        if (QDir::isAbsolutePath(r.caption))
            form->setWindowTitle(r.caption);
        // Unsaved, as it was when the copy was made.
        form->RichTextBox1->document()->setModified(true);
        form->Form_GotFocus();
        // This run's copy replaces the old one before that is removed, so a
        // crash right now still leaves one behind.
        track(form);
        if (writeCopy(*form, copies_[form], nullptr))
            removeCopy(r.rtfPath, r.infoPath);
        opened << form;
    }
    releaseOrphans();
    return opened;
}

void AutoRecovery::releaseOrphans()
{
    for (const QString& path : std::as_const(orphanFolders_))
        QDir().rmdir(path); // only when nothing is left in it
    orphanFolders_.clear();
    orphanLocks_.clear(); // unlocking removes the lock files
}

} // namespace tk::recovery
