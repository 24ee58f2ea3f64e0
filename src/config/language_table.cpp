#include "config/language_table.h"

#include "base/text_file.h"
#include "config/program_folder.h"

#include <QDir>
#include <QFile>

#include <utility>
#include <vector>

namespace zelvano {

QStringList languageEntries(const QStringList& fileLines) {
    QStringList entries;
    for (const QString& line : fileLines) {
        if (line.startsWith(u'#')) continue;
        const qsizetype hash = line.indexOf(u'#');
        entries.append(hash < 0 ? line : line.left(hash));
    }
    return entries;
}

bool isLanguageFileName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(u'\\') &&
           !name.contains(QChar(0));
}

LanguageTable::LanguageTable() : table_(std::make_shared<const QStringList>()) {}

QStringList LanguageTable::builtinEntries() {
    QStringList entries;
    entries.reserve(kLanguageEntryCount);
    for (const char16_t* text : kBuiltinTexts)
        entries.append(QString::fromUtf16(text));
    return entries;
}

void LanguageTable::loadLanguage(const QString& programFolder, QString& languageFile) {
    const QString folder = languageFolderPath(programFolder);
    QStringList entries;
    if (isLanguageFileName(languageFile)) {
        if (const auto lines = readTextLines(folder + u'/' + languageFile)) entries = languageEntries(*lines);
    }
    const bool usable = entries.size() >= kLanguageEntryCount;
    if (usable) {
        entries.resize(kLanguageEntryCount);
    } else {
        entries = builtinEntries();
        languageFile = QStringLiteral("Russian.txt");
    }
    table_.store(std::make_shared<const QStringList>(entries));
    // Called outside the lock, each only while still subscribed: a relabel may end other subscriptions.
    std::vector<std::pair<int, std::function<void()>>> relabel;
    {
        std::lock_guard lock(subscribers_->mutex);
        relabel.assign(subscribers_->list.begin(), subscribers_->list.end());
    }
    for (const auto& [id, fn] : relabel) {
        bool subscribed = false;
        {
            std::lock_guard lock(subscribers_->mutex);
            for (const auto& entry : subscribers_->list)
                subscribed = subscribed || entry.first == id;
        }
        if (subscribed) fn();
    }
    if (!usable && QDir().mkpath(folder)) writeTextLines(folder + QStringLiteral("/Russian.txt"), entries);
    // The English file the program ships, written beside the Russian one when it is missing.
    const QString english = folder + QStringLiteral("/English.txt");
    if (!QFile::exists(english) && QDir().mkpath(folder)) writeTextLines(english, englishFileLines());
}

QStringList LanguageTable::englishFileLines() {
    QStringList lines{QStringLiteral("# Zelvano in English: one text per line, in the order of the entries."),
                      QStringLiteral("# A line that starts with # is a comment; elsewhere # ends the text.")};
    lines.reserve(kLanguageEntryCount + 2);
    for (const char16_t* text : kEnglishTexts)
        lines.append(QString::fromUtf16(text));
    return lines;
}

LanguageTable::Subscription LanguageTable::subscribe(std::function<void()> relabel) {
    std::lock_guard lock(subscribers_->mutex);
    const int id = subscribers_->nextId++;
    subscribers_->list.emplace_back(id, std::move(relabel));
    return Subscription(subscribers_, id);
}

LanguageTable::Subscription& LanguageTable::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        subscribers_ = std::move(other.subscribers_);
        id_ = std::exchange(other.id_, -1);
    }
    return *this;
}

void LanguageTable::Subscription::reset() {
    if (const auto subscribers = subscribers_.lock()) {
        std::lock_guard lock(subscribers->mutex);
        subscribers->list.remove_if([this](const auto& entry) { return entry.first == id_; });
    }
    subscribers_.reset();
    id_ = -1;
}

QString LanguageTable::languageText(int index) const {
    const auto table = table_.load();
    return index >= 0 && index < table->size() ? table->at(index) : QString();
}

} // namespace zelvano
