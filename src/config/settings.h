// Every persistent setting of the program, under the names the rest of the code uses, with its default.
// Owned by the main window (or a command-line run); read by the parts that need a value when they need it.
#pragma once

#include "geo/tile_requests.h"

#include <QString>

#include <array>

namespace zelvano {

enum class WorkMode { CacheOnly, InternetOnly, CacheAndInternet };

// The layers of one service that the view shows or a job fetches.
struct LayerChoice {
    bool satellite = true;
    bool map = false;
    bool secondary = false; // the secondary tile service instead of the primary one

    bool operator==(const LayerChoice&) const = default;
};

enum class MouseMode { Wheel, Click }; // "S": wheel zooms, click centres; "C": left/right click zoom

// Dock sides as stored in the settings file.
enum DockSide { kLeftDock = 1, kBottomDock = 2, kTopDock = 3, kRightDock = 4 };

// The stored place of one tool window.
struct ToolWindowLayout {
    int dockPos = 0;
    int dockRow = 0;
    int floatLeft = 0;
    int floatTop = 0;
    bool vertical = false;
    bool floating = false;
    bool visible = true; // not stored for the first tool window
    int dockSide = kLeftDock;

    bool operator==(const ToolWindowLayout&) const = default;
};

inline constexpr int kToolWindowCount = 3;

// The default request hosts: primary hosts carry ".orbexa" right after their first label (the mirror
// digit goes in front of it), secondary hosts carry the mirror digit "0" as their second character.
inline constexpr char16_t kDefaultSatelliteTemplate[] = u"http://khm.orbexa.com/kh?v=99&n=404&t=t";
inline constexpr char16_t kDefaultMapTemplate[] = u"http://mt.orbexa.com/mt?n=404&v=w2.70&x=";
inline constexpr char16_t kDefaultHybridTemplate[] = u"http://mt.orbexa.com/mt?n=404&v=w2t.70&x=";
inline constexpr char16_t kDefaultAerialTemplate[] = u"http://a0.tiles.orbexa.net/tiles/a....jpeg?g=66";
inline constexpr char16_t kDefaultSecondaryHybridTemplate[] = u"http://h0.tiles.orbexa.net/tiles/h....jpeg?g=66";
inline constexpr char16_t kDefaultRoadTemplate[] = u"http://r0.tiles.orbexa.net/tiles/r....jpeg?g=66";

struct Settings {
    QString primarySatelliteTemplate = QString::fromUtf16(kDefaultSatelliteTemplate);
    WorkMode workMode = WorkMode::CacheAndInternet;
    bool showTimerDialog = false;
    bool useProxy = false;
    QString proxyHost;
    QString proxyPort;
    QString proxyUser;
    QString proxyPassword;
    int searchLatHemisphere = 0; // 0 "N", 1 "S"
    int searchLonHemisphere = 1; // 0 "W", 1 "E"
    int searchZoomIndex = 1;     // zoom 2
    int panelJpegIndex = 7;      // "80%"
    int retryCount = 3;
    int writeErrorLimit = 3;
    int fetchErrorLimit = 3;
    int badFileErrorLimit = 25;
    QString cacheFolder;
    bool useCacheFolder = false;
    int retryInterval = 1; // seconds
    double viewLatitude = 0;
    double viewLongitude = 0; // west positive
    int viewZoom = 1;
    bool errorControl = true;
    std::array<ToolWindowLayout, kToolWindowCount> toolWindowLayout = {{
        {-4, 0, 0, 0, false, false, true, kBottomDock},
        {0, 0, 0, 0, false, false, true, kTopDock},
        {0, 1, 0, 0, false, false, true, kTopDock},
    }};
    int windowHeight = 564;
    int windowWidth = 792;
    int windowTop = 115;
    int windowLeft = 183;
    int jobZoomIndex = 7; // zoom 8
    bool autoGenerate = true;
    bool autoGenerateReplace = false;
    bool useExtraCaches = false;
    bool showLogAuto = true;
    bool calibMapInfo = false;
    bool calibOzi = true;
    MouseMode mouseMode = MouseMode::Wheel;
    int autoGenerateQuality = 70;
    bool stitchAddCoords = false;
    int stitchPieceWidth = 5000;
    int stitchPieceHeight = 5000;
    QString copyFolder = defaultCopyFolder();
    bool generateReplace = false;
    WorkMode jobWorkMode = WorkMode::CacheAndInternet;
    int jobJpegQuality = 80;
    bool stitchSplit = false;
    bool copyCalibrationOnly = false;
    bool primaryMirrors = true;
    bool singleFolderCache = false;
    QString primaryMapTemplate = QString::fromUtf16(kDefaultMapTemplate);
    QString primaryHybridTemplate = QString::fromUtf16(kDefaultHybridTemplate);
    bool viewMap = false;
    bool viewSatellite = true;
    bool jobMap = false;
    bool jobSatellite = true;
    bool calibArcGis = false;
    QString languageFile = QStringLiteral("Russian.txt");
    bool calibSeeYou = false;
    double selectionTop = 0;
    double selectionLeft = 0;
    double selectionBottom = 0;
    double selectionRight = 0;
    QString secondaryAerialTemplate = QString::fromUtf16(kDefaultAerialTemplate);
    QString secondaryHybridTemplate = QString::fromUtf16(kDefaultSecondaryHybridTemplate);
    QString secondaryRoadTemplate = QString::fromUtf16(kDefaultRoadTemplate);
    bool useSecondaryService = false;
    bool secondaryMirrors = false;

    bool operator==(const Settings&) const = default;

    // The system temp folder: where the copy job writes until the user picks a folder.
    static QString defaultCopyFolder();
};

// The folder that holds the tile cache, with a trailing slash: cacheFolder + "/" when useCacheFolder is
// set (appended even when cacheFolder already ends with one), else <program folder>/Cache/.
QString cacheRoot(const Settings& settings, const QString& programFolder);

geo::RequestTemplates requestTemplates(const Settings& settings);

LayerChoice viewLayers(const Settings& settings); // viewSatellite, viewMap, useSecondaryService
LayerChoice jobLayers(const Settings& settings);  // jobSatellite, jobMap, useSecondaryService

} // namespace zelvano
