// The language table: 215 numbered texts of the user interface, loaded from Language/<languageFile> in the
// program folder, with the built-in Russian texts as fallback. Loaded and applied on the UI thread;
// languageText may be called from any thread (a worker's log lines) while the table is replaced.
#pragma once

#include "config/builtin_texts.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

namespace zelvano {

// Applies the comment rules of a language file: a line starting with "#" is dropped, elsewhere "#" and
// what follows it are cut off; every other line, an empty one included, is one entry.
QStringList languageEntries(const QStringList& fileLines);

class LanguageTable {
public:
    LanguageTable();

    // Fills the table from Language/<languageFile>. When that file is missing or unreadable, the name is
    // empty or the file holds fewer than 215 entries, takes the built-in texts, sets languageFile to
    // "Russian.txt" and writes them to Language/Russian.txt (failures there are ignored). Then calls
    // the applyLanguage hook.
    void loadLanguage(const QString& programFolder, QString& languageFile);

    // Entry N; empty for an index outside the table.
    QString languageText(int index) const;

    QStringList entries() const { return *table_.load(); }

    // Set by the windows: relabels every existing window from the current table.
    void setApplyLanguage(std::function<void()> applyLanguage) { applyLanguage_ = std::move(applyLanguage); }

    static QStringList builtinEntries();

private:
    std::atomic<std::shared_ptr<const QStringList>> table_;
    std::function<void()> applyLanguage_;
};

} // namespace zelvano
