#include "cli/job_options.h"

#include "config/extra_settings.h"
#include "jobs/job_dialog_rules.h"

#include <algorithm>

namespace zelvano::cli {

int levelOption(const Options& o, const Settings& s) {
    if (!o.values.contains(QStringLiteral("zoom"))) return std::clamp(s.jobZoomIndex + 1, 1, 24);
    bool ok = false;
    const int level = o.values[QStringLiteral("zoom")].toInt(&ok);
    if (!ok || level < 1 || level > 24) throw UsageError{QStringLiteral("--zoom takes a level from 1 to 24")};
    return level;
}

void areaOption(const Options& o, const Settings& s, JobDefinition& d) {
    geo::Position first{s.selectionTop, s.selectionLeft}, second{s.selectionBottom, s.selectionRight};
    if (o.values.contains(QStringLiteral("bbox"))) {
        const QStringList parts = o.values[QStringLiteral("bbox")].split(u',');
        std::optional<double> v[4];
        for (int i = 0; i < 4 && parts.size() == 4; ++i)
            v[i] = parseUserNumber(parts[i].trimmed());
        if (parts.size() != 4 || !v[0] || !v[1] || !v[2] || !v[3])
            throw UsageError{QStringLiteral("--bbox takes WEST,SOUTH,EAST,NORTH in decimal degrees")};
        if (*v[0] < -180 || *v[2] > 180 || *v[0] >= *v[2] || *v[1] < -90 || *v[3] > 90 || *v[1] >= *v[3])
            throw UsageError{QStringLiteral("--bbox: WEST < EAST within -180..180 and SOUTH < NORTH within -90..90")};
        first = geo::Position::fromEastLongitude(*v[3], *v[0]);
        second = geo::Position::fromEastLongitude(*v[1], *v[2]);
    } else if (first == geo::Position{0, 0} && second == geo::Position{0, 0}) {
        throw UsageError{QStringLiteral("no selection is stored in the settings; pass --bbox")};
    }
    const SelectionCorners corners = orderedCorners(d.level, first, second);
    d.topLeft = corners.topLeft;
    d.bottomRight = corners.bottomRight;
}

int connectionsOption(const Options& o, const QString& folder) {
    if (!o.values.contains(QStringLiteral("connections"))) return loadExtraSettings(folder).downloadConnections;
    bool ok = false;
    const int n = o.values[QStringLiteral("connections")].toInt(&ok);
    if (!ok || n < kMinDownloadConnections || n > kMaxDownloadConnections)
        throw UsageError{QStringLiteral("--connections takes a number from 1 to 8")};
    return n;
}

CalibrationFormats calibrationOption(const Options& o, const Settings& s) {
    if (!o.values.contains(QStringLiteral("calib"))) return {s.calibOzi, s.calibMapInfo, s.calibArcGis, s.calibSeeYou};
    CalibrationFormats f;
    const QString list = o.values[QStringLiteral("calib")].trimmed().toLower();
    if (list == QLatin1StringView("none")) return f;
    for (const QString& name : list.split(u',')) {
        const QString n = name.trimmed();
        if (n == QLatin1StringView("ozi"))
            f.ozi = true;
        else if (n == QLatin1StringView("mapinfo"))
            f.mapInfo = true;
        else if (n == QLatin1StringView("world"))
            f.worldFile = true;
        else if (n == QLatin1StringView("seeyou"))
            f.seeYou = true;
        else
            throw UsageError{QStringLiteral("--calib takes ozi,mapinfo,world,seeyou or none")};
    }
    return f;
}

} // namespace zelvano::cli
