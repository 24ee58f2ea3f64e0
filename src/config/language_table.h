// The language table: 215 numbered texts of the user interface, loaded from Language/<languageFile> in the
// program folder, with the built-in Russian texts as fallback. Loaded on the UI thread, which also runs the
// subscribers that relabel the windows; languageText may be called from any thread (a worker's log lines)
// while the table is replaced.
#pragma once

#include "config/builtin_texts.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>

namespace zelvano {

// Applies the comment rules of a language file: a line starting with "#" is dropped, elsewhere "#" and
// what follows it are cut off; every other line, an empty one included, is one entry.
QStringList languageEntries(const QStringList& fileLines);

// A name of a file inside the Language folder: not empty, no path separator, not "." or "..".
bool isLanguageFileName(const QString& name);

class LanguageTable {
public:
    LanguageTable();

    // Fills the table from Language/<languageFile>. When that file is missing or unreadable (a FIFO, a
    // device, over 1 MB), the name is not a file name inside Language or the file holds fewer than 215
    // entries, takes the built-in texts, sets languageFile to "Russian.txt" and writes them to
    // Language/Russian.txt (failures there are ignored). Then runs every subscriber.
    void loadLanguage(const QString& programFolder, QString& languageFile);

    // Entry N; empty for an index outside the table.
    QString languageText(int index) const;

    QStringList entries() const { return *table_.load(); }

    // A window's wish to be relabelled after every load; it ends when the handle is destroyed (before or
    // after the table, either way).
    class Subscription;
    [[nodiscard]] Subscription subscribe(std::function<void()> relabel);

    // The lines of English.txt: two comment lines, then the 215 English texts.
    static QStringList englishFileLines();
    static QStringList builtinEntries();

private:
    struct Subscribers {
        std::mutex mutex;
        std::list<std::pair<int, std::function<void()>>> list;
        int nextId = 0;
    };

    std::atomic<std::shared_ptr<const QStringList>> table_;
    std::shared_ptr<Subscribers> subscribers_ = std::make_shared<Subscribers>();
};

class LanguageTable::Subscription {
public:
    Subscription() = default;
    Subscription(Subscription&& other) noexcept { *this = std::move(other); }
    Subscription& operator=(Subscription&& other) noexcept;
    ~Subscription() { reset(); }

    void reset();

private:
    friend class LanguageTable;
    Subscription(std::weak_ptr<Subscribers> subscribers, int id) : subscribers_(std::move(subscribers)), id_(id) {}

    std::weak_ptr<Subscribers> subscribers_;
    int id_ = -1;
};

} // namespace zelvano
