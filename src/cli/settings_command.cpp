#include "cli/arguments.h"
#include "cli/commands.h"

#include "config/extra_settings.h"
#include "config/settings_file.h"

#include <cstdio>

namespace zelvano::cli {

int settingsCommand(const QStringList& args) {
    QString error;
    const auto options = parseOptions(args, {}, {QStringLiteral("save"), QStringLiteral("show-secrets")}, error,
                                      {QStringLiteral("set")});
    if (!options) throw UsageError{error};

    ProgramState state = loadProgramState();
    Settings& settings = state.settings;
    const LanguageTable& language = *state.language;
    ExtraSettings extra = loadExtraSettings(state.folder);
    // QMultiMap keeps the values of one key newest first; apply them in the order given.
    const QStringList assignments = options->repeated.values(QStringLiteral("set"));
    for (auto it = assignments.crbegin(); it != assignments.crend(); ++it) {
        const qsizetype eq = it->indexOf(u'=');
        if (eq <= 0 || !(setExtraSettingByName(extra, it->left(eq), it->mid(eq + 1)) ||
                         setSettingByName(settings, it->left(eq), it->mid(eq + 1))))
            throw UsageError{QStringLiteral("--set %1: no such setting, or not a value for it").arg(*it)};
    }

    QJsonObject json = settingsAsJson(
        settings, options->flags.contains(QStringLiteral("show-secrets")) ? Secrets::Shown : Secrets::Masked);
    json[QStringLiteral("downloadConnections")] = extra.downloadConnections; // Zelvano.ini
    printJson(json);

    if (options->flags.contains(QStringLiteral("save")) &&
        !(saveSettings(settings, state.folder) && saveExtraSettings(state.folder, extra))) {
        // Entries 35 and 36: "cannot write the settings file", "cannot save".
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(language.languageText(36)),
                     qUtf8Printable(language.languageText(35)));
        return 1;
    }
    return 0;
}

} // namespace zelvano::cli
