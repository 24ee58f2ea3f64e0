#include "config/program_state.h"

#include "base/text_file.h"
#include "config/cache_list.h"
#include "config/program_folder.h"

#include <QFile>

namespace zelvano {

ProgramState ProgramState::load(const QString& folder) {
    ProgramState state;
    state.folder = folder;
    // What a crash in the middle of a save left beside the settings, bookmarks, cache list and languages.
    for (const QString& f : {folder, languageFolderPath(folder)})
        removeStaleTemporaryFiles(QFile::encodeName(f).toStdString());
    state.extraCaches = loadCacheList(folder);
    state.loaded = loadSettings(state.settings, *state.language, folder);
    writeReadMeIfMissing(folder);
    return state;
}

void writeReadMeIfMissing(const QString& folder) {
    const QString path = folder + QStringLiteral("/ReadMe.txt");
    if (QFile::exists(path)) return;
    writeTextLines(path, {
                             QStringLiteral("Zelvano - просмотр и загрузка фрагментов карт и космических снимков"),
                             QString(),
                             QStringLiteral("Просмотренные фрагменты остаются в кэше (папка Cache) и доступны без "
                                            "подключения к интернету."),
                             QStringLiteral("Включите инструмент выделения и обведите участок: его можно выкачать в "
                                            "кэш, склеить в одно изображение JPEG или PNG с файлами привязки"),
                             QStringLiteral("(OziExplorer, MapInfo, world file, SeeYou), перенести в отдельную папку "
                                            "или построить по нему слои меньшего увеличения."),
                             QStringLiteral("Кнопка \"Настройки\" открывает все параметры программы; на вкладке "
                                            "Language выбирается язык (Russian.txt, English.txt)."),
                             QStringLiteral("zelvano-cli --help перечисляет команды для работы из командной строки."),
                         });
}

} // namespace zelvano
