#include "config/settings.h"

#include <QDir>

namespace zelvano {

QString Settings::defaultCopyFolder() {
    return QDir::tempPath();
}

QString cacheRoot(const Settings& settings, const QString& programFolder) {
    if (settings.useCacheFolder) return settings.cacheFolder + u'/';
    return programFolder + QStringLiteral("/Cache/");
}

geo::RequestTemplates requestTemplates(const Settings& settings) {
    return {settings.primarySatelliteTemplate, settings.primaryMapTemplate,      settings.primaryHybridTemplate,
            settings.secondaryAerialTemplate,  settings.secondaryHybridTemplate, settings.secondaryRoadTemplate};
}

LayerChoice viewLayers(const Settings& settings) {
    return {settings.viewSatellite, settings.viewMap, settings.useSecondaryService};
}

LayerChoice jobLayers(const Settings& settings) {
    return {settings.jobSatellite, settings.jobMap, settings.useSecondaryService};
}

} // namespace zelvano
