#include "word_memory.h"

#include "memory_store.h"

namespace tk::memory {

StoreResult storeWord(const QString& keyChar, const QString& text, QString* reason)
{
    if (keyChar.isEmpty() || text.isEmpty())
        return StoreResult::Nothing;
    // Stored anyway, such a text would read back as nothing at all.
    if (text.size() > maxStoredLength)
        return StoreResult::TooLong;
    const QString key = QString::fromLatin1(memoryKey);
    if (!CreateKey(key, reason) || !WriteValue(key, keyChar.left(1).toLower(), text, reason)) {
        if (reason)
            *reason = QStringLiteral("The word was not stored under \"%1\". %2").arg(keyChar.left(1).toLower(), *reason);
        return StoreResult::Failed;
    }
    return StoreResult::Stored;
}

QString nothingSelectedMessage()
{
    return QStringLiteral("Select a word first: Insert keeps the selected word in the memory.");
}

QString tooLongMessage()
{
    return QStringLiteral("The memory can keep at most %1 characters under one key. "
                          "This text is longer and was not stored.")
        .arg(maxStoredLength);
}

} // namespace tk::memory
