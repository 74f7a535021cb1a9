#include "spell_checker.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <enchant.h>

namespace tk::spelling {

namespace {

struct DictionaryName {
    const char* language;
    const char* package;
};

DictionaryName nameOf(Language language)
{
    return language == Language::Tamil ? DictionaryName{"Tamil", "aspell-ta"}
                                       : DictionaryName{"English", "hunspell-en-us"};
}

} // namespace

QString defaultPersonalWordList()
{
    // Beside the recovery copies, in the program's own data folder.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/tamilkalvem/personal-dictionary.txt");
}

struct SpellChecker::Impl {
    EnchantBroker* broker = nullptr;
    EnchantDict* dicts[2] = {nullptr, nullptr};
    EnchantDict* personal = nullptr;
    // Documents repeat their words: each is looked up once.
    QHash<QString, bool> known[2];

    ~Impl()
    {
        if (!broker)
            return;
        for (EnchantDict* dict : {dicts[0], dicts[1], personal})
            if (dict)
                enchant_broker_free_dict(broker, dict);
        enchant_broker_free(broker);
    }
    EnchantDict* dict(Language language) const { return dicts[int(language)]; }
};

SpellChecker::SpellChecker(DictionarySetup setup) : setup_(std::move(setup)), d_(std::make_unique<Impl>())
{
    if (setup_.personalWordList.isEmpty())
        setup_.personalWordList = defaultPersonalWordList();
    d_->broker = enchant_broker_init();
    if (!d_->broker)
        return;
    const QString tags[2] = {setup_.tamil, setup_.english};
    for (int i = 0; i < 2; ++i)
        d_->dicts[i] = enchant_broker_request_dict(d_->broker, tags[i].toUtf8().constData());
    if (QFileInfo::exists(setup_.personalWordList))
        d_->personal = enchant_broker_request_pwl_dict(d_->broker, setup_.personalWordList.toUtf8().constData());
}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::has(Language language) const { return d_->dict(language); }

QString SpellChecker::missingMessage() const
{
    if (!d_->broker)
        return QStringLiteral("The spelling checker Enchant could not start (Debian package libenchant-2-2).");
    QStringList missing;
    for (const Language language : {Language::Tamil, Language::English}) {
        if (has(language))
            continue;
        const DictionaryName name = nameOf(language);
        missing << QStringLiteral("The %1 spelling dictionary \"%2\" is not installed (Debian package %3).")
                       .arg(QLatin1String(name.language),
                            language == Language::Tamil ? setup_.tamil : setup_.english,
                            QLatin1String(name.package));
    }
    if (missing.size() == 1)
        missing << (has(Language::Tamil) ? QStringLiteral("Only the Tamil words are checked.")
                                         : QStringLiteral("Only the English words are checked."));
    return missing.join(u' ');
}

bool SpellChecker::check(Language language, const QString& word)
{
    EnchantDict* dict = d_->dict(language);
    if (!dict || ignored_.contains(word))
        return true;
    QHash<QString, bool>& known = d_->known[int(language)];
    if (const auto it = known.constFind(word); it != known.cend())
        return *it;
    const QByteArray utf8 = word.toUtf8();
    bool ok = enchant_dict_check(dict, utf8.constData(), utf8.size()) == 0;
    if (!ok && d_->personal)
        ok = enchant_dict_check(d_->personal, utf8.constData(), utf8.size()) == 0;
    known.insert(word, ok);
    return ok;
}

QStringList SpellChecker::suggest(Language language, const QString& word)
{
    QStringList out;
    EnchantDict* dict = d_->dict(language);
    if (!dict)
        return out;
    const QByteArray utf8 = word.toUtf8();
    size_t count = 0;
    char** list = enchant_dict_suggest(dict, utf8.constData(), utf8.size(), &count);
    for (size_t i = 0; i < count; ++i) {
        const QString suggestion = QString::fromUtf8(list[i]);
        if (!out.contains(suggestion))
            out << suggestion;
    }
    if (list)
        enchant_dict_free_string_list(dict, list);
    return out;
}

void SpellChecker::ignoreAll(const QString& word) { ignored_.insert(word); }

bool SpellChecker::add(const QString& word)
{
    if (!d_->broker)
        return false;
    if (!d_->personal) {
        QDir().mkpath(QFileInfo(setup_.personalWordList).absolutePath());
        d_->personal = enchant_broker_request_pwl_dict(d_->broker, setup_.personalWordList.toUtf8().constData());
        if (!d_->personal)
            return false;
    }
    const QByteArray utf8 = word.toUtf8();
    enchant_dict_add(d_->personal, utf8.constData(), utf8.size());
    for (QHash<QString, bool>& known : d_->known)
        known.remove(word);
    return enchant_dict_check(d_->personal, utf8.constData(), utf8.size()) == 0;
}

} // namespace tk::spelling
