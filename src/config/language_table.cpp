#include "config/language_table.h"

#include "base/text_file.h"
#include "config/program_folder.h"

#include <QDir>

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
    if (!languageFile.isEmpty()) {
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
    if (applyLanguage_) applyLanguage_();
    if (!usable && QDir().mkpath(folder)) writeTextLines(folder + QStringLiteral("/Russian.txt"), entries);
}

QString LanguageTable::languageText(int index) const {
    const auto table = table_.load();
    return index >= 0 && index < table->size() ? table->at(index) : QString();
}

} // namespace zelvano
