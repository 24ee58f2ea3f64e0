#include "cli/arguments.h"
#include "cli/commands.h"

#include "config/program_folder.h"
#include "config/settings_file.h"

#include <QJsonDocument>

#include <cstdio>

namespace zelvano::cli {

int settingsCommand(const QStringList& args) {
    QString error;
    const auto options = parseOptions(args, {}, {QStringLiteral("save")}, error);
    if (!options) throw UsageError{error};

    const QString folder = programFolder();
    Settings settings;
    LanguageTable language;
    loadSettings(settings, language, folder);

    const QByteArray out = QJsonDocument(settingsAsJson(settings)).toJson(QJsonDocument::Indented);
    std::fwrite(out.constData(), 1, out.size(), stdout);

    if (options->flags.contains(QStringLiteral("save")) && !saveSettings(settings, folder)) {
        // Entries 35 and 36: "cannot write the settings file", "cannot save".
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(language.languageText(36)),
                     qUtf8Printable(language.languageText(35)));
        return 1;
    }
    return 0;
}

} // namespace zelvano::cli
