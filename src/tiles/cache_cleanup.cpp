#include "tiles/cache_cleanup.h"

#include "base/text_file.h"

#include <QFile>

#include <string>
#include <thread>
#include <vector>

namespace zelvano {

void removeStaleTileFilesInBackground(const CacheLayout& layout) {
    std::vector<std::string> folders;
    for (const QString& folder : tileFolders(layout))
        folders.push_back(QFile::encodeName(folder).toStdString());
    std::thread([folders = std::move(folders)] {
        for (const std::string& folder : folders)
            removeStaleTemporaryFiles(folder);
    }).detach();
}

} // namespace zelvano
