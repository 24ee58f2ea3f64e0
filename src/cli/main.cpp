// zelvano-cli: the program's core from the command line.
#include "cli/arguments.h"
#include "cli/commands.h"

#include "base/headless_gui.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

constexpr char kUsage[] =
    "usage:\n"
    "  zelvano-cli locate --zoom L --lat LAT --lon LON\n"
    "      the tile that holds a position (decimal degrees, north and east positive)\n"
    "  zelvano-cli fetch --zoom L --lat LAT --lon LON [--layers sat|map|both] [--secondary]\n"
    "                    [--mode cache|internet|both]\n"
    "      obtains one tile as a download job does; log lines on stderr, the outcome on stdout\n"
    "  zelvano-cli download [--zoom L] [--bbox WEST,SOUTH,EAST,NORTH] [--mode cache|internet|both]\n"
    "                       [--layers sat|map|both] [--secondary] [--connections N]\n"
    "      downloads every tile of the box (or the stored selection) into the cache as a job;\n"
    "      the job's log on stderr, its summary on stdout\n"
    "  zelvano-cli generate [--zoom L] [--bbox WEST,SOUTH,EAST,NORTH] [--replace|--keep]\n"
    "      builds the lower zoom levels of the box from the cached tiles\n"
    "  zelvano-cli stitch --out FILE [--zoom L] [--bbox WEST,SOUTH,EAST,NORTH] [--split WxH|none]\n"
    "                     [--coords-in-name] [--quality Q] [--calib ozi,mapinfo,world,seeyou|none]\n"
    "                     [--mode cache|internet|both] [--layers sat|map|both] [--secondary]\n"
    "      glues the tiles of the box into one JPEG or PNG (by the extension), or into pieces,\n"
    "      with calibration files beside each image; the files written are listed in the summary\n"
    "  zelvano-cli copy [--to FOLDER] [--calibration-only] [--zoom L] [--bbox WEST,SOUTH,EAST,NORTH]\n"
    "                   [--calib ozi,mapinfo,world,seeyou|none]\n"
    "      copies the cached satellite tiles of the box into a folder with calibration files, or\n"
    "      writes only calibration files that point into the cache\n"
    "  zelvano-cli measure LAT,LON LAT,LON [LAT,LON ...]\n"
    "      the length of the path through the points on the WGS 84 ellipsoid, as the window\n"
    "      measures it (decimal degrees, north and east positive)\n"
    "  zelvano-cli settings [--set NAME=VALUE]... [--save] [--show-secrets]\n"
    "      the effective settings of the program folder, changed by --set; --save writes them;\n"
    "      the proxy password shows masked unless --show-secrets\n";

} // namespace

int main(int argc, char* argv[]) {
    // Placeholder tiles draw text, which needs a GUI application; no window is ever shown.
    zelvano::prepareHeadlessGui();
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments().mid(1);
    if (args.isEmpty() || args[0] == QLatin1StringView("--help") || args[0] == QLatin1StringView("-h")) {
        std::fputs(kUsage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const QString verb = args.takeFirst();
    try {
        if (verb == QLatin1StringView("locate")) return zelvano::cli::locateCommand(args);
        if (verb == QLatin1StringView("settings")) return zelvano::cli::settingsCommand(args);
        if (verb == QLatin1StringView("fetch")) return zelvano::cli::fetchCommand(args);
        if (verb == QLatin1StringView("measure")) return zelvano::cli::measureCommand(args);
        if (verb == QLatin1StringView("download")) return zelvano::cli::downloadCommand(args);
        if (verb == QLatin1StringView("generate")) return zelvano::cli::generateCommand(args);
        if (verb == QLatin1StringView("stitch")) return zelvano::cli::stitchCommand(args);
        if (verb == QLatin1StringView("copy")) return zelvano::cli::copyCommand(args);
        throw zelvano::cli::UsageError{QStringLiteral("unknown command \"%1\"").arg(verb)};
    } catch (const zelvano::cli::UsageError& e) {
        std::fprintf(stderr, "zelvano-cli: %s\n%s", qUtf8Printable(e.message), kUsage);
        return 2;
    }
}
