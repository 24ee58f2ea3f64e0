#include "config/settings_file.h"

#include "base/number_text.h"
#include "base/text_file.h"
#include "config/program_folder.h"

#include <QJsonArray>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace zelvano {

namespace {

enum class Kind { Flag, Integer, Text, CommaDecimal, PointDecimal, WorkModeFlag, DockSide, Mouse, Written };

template <class T> using Field = T& (*)(Settings&);

// What one line of the file holds and how it is read and written.
struct Line {
    Kind kind = Kind::Written;
    const char* name = nullptr; // the setting's name where the line holds a whole setting
    const char* letter = "";    // a flag's letter
    Field<bool> flag = nullptr;
    Field<int> integer = nullptr;
    Field<QString> text = nullptr;
    Field<double> decimal = nullptr;
    Field<WorkMode> mode = nullptr;
    WorkMode modeValue = WorkMode::CacheAndInternet;
    std::optional<int> malformed; // what a non-integer line gives where that is not the default
    int window = 0;
    QString (*written)(const Settings&) = nullptr; // lines that are written but ignored on reading
};

Line makeLine(Kind kind, const char* name = nullptr) {
    Line l;
    l.kind = kind;
    l.name = name;
    return l;
}
Line flag(const char* name, const char* letter, Field<bool> f) {
    Line l = makeLine(Kind::Flag, name);
    l.letter = letter;
    l.flag = f;
    return l;
}
Line integer(const char* name, Field<int> f, std::optional<int> malformed = {}) {
    Line l = makeLine(Kind::Integer, name);
    l.integer = f;
    l.malformed = malformed;
    return l;
}
Line text(const char* name, Field<QString> f) {
    Line l = makeLine(Kind::Text, name);
    l.text = f;
    return l;
}
Line decimal(Kind kind, const char* name, Field<double> f) {
    Line l = makeLine(kind, name);
    l.decimal = f;
    return l;
}
Line workModeFlag(Field<WorkMode> f, WorkMode value, const char* letter) {
    Line l = makeLine(Kind::WorkModeFlag);
    l.letter = letter;
    l.mode = f;
    l.modeValue = value;
    return l;
}
Line dockSide(int window) {
    Line l = makeLine(Kind::DockSide);
    l.window = window;
    return l;
}
Line written(QString (*fn)(const Settings&)) {
    Line l = makeLine(Kind::Written);
    l.written = fn;
    return l;
}

template <int W, auto Member> auto& layoutField(Settings& s) {
    return s.toolWindowLayout[W].*Member;
}

// Lines 30-36, 37-44 or 45-52: one tool window's stored place.
template <int W> void appendLayout(std::vector<Line>& lines) {
    lines.push_back(integer(nullptr, &layoutField<W, &ToolWindowLayout::dockPos>, 0));
    lines.push_back(integer(nullptr, &layoutField<W, &ToolWindowLayout::dockRow>, 0));
    lines.push_back(integer(nullptr, &layoutField<W, &ToolWindowLayout::floatLeft>, 0));
    lines.push_back(integer(nullptr, &layoutField<W, &ToolWindowLayout::floatTop>, 0));
    lines.push_back(flag(nullptr, "v", &layoutField<W, &ToolWindowLayout::vertical>));
    lines.push_back(flag(nullptr, "f", &layoutField<W, &ToolWindowLayout::floating>));
    if (W > 0) lines.push_back(flag(nullptr, "V", &layoutField<W, &ToolWindowLayout::visible>));
    lines.push_back(dockSide(W));
}

#define FIELD(type, member) [](Settings& s) -> type& { return s.member; }

std::vector<Line> makeLines() {
    using enum WorkMode;
    std::vector<Line> l;
    l.push_back(text("primarySatelliteTemplate", FIELD(QString, primarySatelliteTemplate))); // 0
    l.push_back(workModeFlag(FIELD(WorkMode, workMode), CacheOnly, "c"));                    // 1
    l.push_back(workModeFlag(FIELD(WorkMode, workMode), InternetOnly, "i"));                 // 2
    l.push_back(workModeFlag(FIELD(WorkMode, workMode), CacheAndInternet, "ci"));            // 3
    l.push_back(flag("showTimerDialog", "t", FIELD(bool, showTimerDialog)));                 // 4
    l.push_back(flag("useProxy", "p", FIELD(bool, useProxy)));                               // 5
    l.push_back(text("proxyHost", FIELD(QString, proxyHost)));                               // 6
    l.push_back(text("proxyPort", FIELD(QString, proxyPort)));                               // 7
    l.push_back(text("proxyUser", FIELD(QString, proxyUser)));                               // 8
    l.push_back(text("proxyPassword", FIELD(QString, proxyPassword)));                       // 9
    l.push_back(written([](const Settings& s) {                                              // 10
        return QString::number(1 + s.primarySatelliteTemplate.lastIndexOf(u'=') + 1);
    }));
    l.push_back(integer("searchLatHemisphere", FIELD(int, searchLatHemisphere)));                // 11
    l.push_back(integer("searchLonHemisphere", FIELD(int, searchLonHemisphere)));                // 12
    l.push_back(written([](const Settings&) { return QStringLiteral("-"); }));                   // 13
    l.push_back(integer("searchZoomIndex", FIELD(int, searchZoomIndex)));                        // 14
    l.push_back(written([](const Settings& s) { return QString::number(s.windowHeight); }));     // 15
    l.push_back(written([](const Settings& s) { return QString::number(s.windowWidth); }));      // 16
    l.push_back(integer("panelJpegIndex", FIELD(int, panelJpegIndex)));                          // 17
    l.push_back(written([](const Settings& s) { return QString::number(s.windowTop); }));        // 18
    l.push_back(integer("retryCount", FIELD(int, retryCount)));                                  // 19
    l.push_back(integer("writeErrorLimit", FIELD(int, writeErrorLimit)));                        // 20
    l.push_back(integer("fetchErrorLimit", FIELD(int, fetchErrorLimit)));                        // 21
    l.push_back(integer("badFileErrorLimit", FIELD(int, badFileErrorLimit)));                    // 22
    l.push_back(text("cacheFolder", FIELD(QString, cacheFolder)));                               // 23
    l.push_back(flag("useCacheFolder", "c", FIELD(bool, useCacheFolder)));                       // 24
    l.push_back(integer("retryInterval", FIELD(int, retryInterval)));                            // 25
    l.push_back(decimal(Kind::CommaDecimal, "viewLatitude", FIELD(double, viewLatitude)));       // 26
    l.push_back(decimal(Kind::CommaDecimal, "viewLongitude", FIELD(double, viewLongitude)));     // 27
    l.push_back(integer("viewZoom", FIELD(int, viewZoom)));                                      // 28
    l.push_back(flag("errorControl", "e", FIELD(bool, errorControl)));                           // 29
    appendLayout<0>(l);                                                                          // 30-36
    appendLayout<1>(l);                                                                          // 37-44
    appendLayout<2>(l);                                                                          // 45-52
    l.push_back(integer("windowHeight", FIELD(int, windowHeight), 480));                         // 53
    l.push_back(integer("windowWidth", FIELD(int, windowWidth), 640));                           // 54
    l.push_back(integer("windowTop", FIELD(int, windowTop), 0));                                 // 55
    l.push_back(integer("windowLeft", FIELD(int, windowLeft), 0));                               // 56
    l.push_back(integer("jobZoomIndex", FIELD(int, jobZoomIndex)));                              // 57
    l.push_back(flag("autoGenerate", "g", FIELD(bool, autoGenerate)));                           // 58
    l.push_back(flag("autoGenerateReplace", "G", FIELD(bool, autoGenerateReplace)));             // 59
    l.push_back(flag("useExtraCaches", "z", FIELD(bool, useExtraCaches)));                       // 60
    l.push_back(flag("showLogAuto", "l", FIELD(bool, showLogAuto)));                             // 61
    l.push_back(flag("calibMapInfo", "M", FIELD(bool, calibMapInfo)));                           // 62
    l.push_back(flag("calibOzi", "O", FIELD(bool, calibOzi)));                                   // 63
    l.push_back(makeLine(Kind::Mouse, "mouseMode"));                                             // 64
    l.push_back(integer("autoGenerateQuality", FIELD(int, autoGenerateQuality)));                // 65
    l.push_back(flag("stitchAddCoords", "K", FIELD(bool, stitchAddCoords)));                     // 66
    l.push_back(integer("stitchPieceWidth", FIELD(int, stitchPieceWidth)));                      // 67
    l.push_back(integer("stitchPieceHeight", FIELD(int, stitchPieceHeight)));                    // 68
    l.push_back(text("copyFolder", FIELD(QString, copyFolder)));                                 // 69
    l.push_back(flag("generateReplace", "g", FIELD(bool, generateReplace)));                     // 70
    l.push_back(workModeFlag(FIELD(WorkMode, jobWorkMode), CacheOnly, "c"));                     // 71
    l.push_back(workModeFlag(FIELD(WorkMode, jobWorkMode), InternetOnly, "i"));                  // 72
    l.push_back(workModeFlag(FIELD(WorkMode, jobWorkMode), CacheAndInternet, "ci"));             // 73
    l.push_back(integer("jobJpegQuality", FIELD(int, jobJpegQuality)));                          // 74
    l.push_back(flag("stitchSplit", "D", FIELD(bool, stitchSplit)));                             // 75
    l.push_back(flag("copyCalibrationOnly", "N", FIELD(bool, copyCalibrationOnly)));             // 76
    l.push_back(flag("primaryMirrors", "Q", FIELD(bool, primaryMirrors)));                       // 77
    l.push_back(flag("singleFolderCache", "O", FIELD(bool, singleFolderCache)));                 // 78
    l.push_back(text("primaryMapTemplate", FIELD(QString, primaryMapTemplate)));                 // 79
    l.push_back(text("primaryHybridTemplate", FIELD(QString, primaryHybridTemplate)));           // 80
    l.push_back(flag("viewMap", "M", FIELD(bool, viewMap)));                                     // 81
    l.push_back(flag("viewSatellite", "S", FIELD(bool, viewSatellite)));                         // 82
    l.push_back(flag("jobMap", "M", FIELD(bool, jobMap)));                                       // 83
    l.push_back(flag("jobSatellite", "S", FIELD(bool, jobSatellite)));                           // 84
    l.push_back(flag("calibArcGis", "A", FIELD(bool, calibArcGis)));                             // 85
    l.push_back(text("languageFile", FIELD(QString, languageFile)));                             // 86
    l.push_back(written([](const Settings&) { return QStringLiteral(" "); }));                   // 87
    l.push_back(flag("calibSeeYou", "S", FIELD(bool, calibSeeYou)));                             // 88
    l.push_back(decimal(Kind::PointDecimal, "selectionTop", FIELD(double, selectionTop)));       // 89
    l.push_back(decimal(Kind::PointDecimal, "selectionLeft", FIELD(double, selectionLeft)));     // 90
    l.push_back(decimal(Kind::PointDecimal, "selectionBottom", FIELD(double, selectionBottom))); // 91
    l.push_back(decimal(Kind::PointDecimal, "selectionRight", FIELD(double, selectionRight)));   // 92
    l.push_back(text("secondaryAerialTemplate", FIELD(QString, secondaryAerialTemplate)));       // 93
    l.push_back(text("secondaryHybridTemplate", FIELD(QString, secondaryHybridTemplate)));       // 94
    l.push_back(text("secondaryRoadTemplate", FIELD(QString, secondaryRoadTemplate)));           // 95
    l.push_back(flag("useSecondaryService", "L", FIELD(bool, useSecondaryService)));             // 96
    l.push_back(flag("secondaryMirrors", "M", FIELD(bool, secondaryMirrors)));                   // 97
    return l;
}

#undef FIELD

const std::vector<Line>& lineTable() {
    static const std::vector<Line> table = [] {
        auto lines = makeLines();
        Q_ASSERT(lines.size() == kSettingsLineCount);
        return lines;
    }();
    return table;
}

// Markers in the reading order for the two steps that are not lines.
constexpr int kLoadLanguage = -1;
constexpr int kRestoreSelection = -2;

// The order in which the lines are read; a line is taken only when every one before it was.
const std::vector<int>& readingOrder() {
    static const std::vector<int> order = [] {
        std::vector<int> o = {0, 4, 5, 6, 7, 8, 9, 11, 12, 14, 53, 54, 17, 55};
        for (int n = 19; n <= 52; ++n)
            o.push_back(n);
        for (int n = 56; n <= 86; ++n)
            o.push_back(n);
        o.insert(o.end(), {kLoadLanguage, 87, 88, 89, 90, 91, 92, kRestoreSelection, 1, 2, 3, 93, 94, 95, 96, 97});
        return o;
    }();
    return order;
}

int defaultOf(Field<int> field) {
    Settings defaults;
    return field(defaults);
}

// Applies one line; false for a decimal line that is not a number in its form.
bool applyLine(const Line& line, const QString& value, Settings& s) {
    switch (line.kind) {
    case Kind::Flag:
        line.flag(s) = value == QLatin1String(line.letter);
        return true;
    case Kind::Integer:
        if (const auto v = parseInt32(value))
            line.integer(s) = *v;
        else
            line.integer(s) = line.malformed ? *line.malformed : defaultOf(line.integer);
        return true;
    case Kind::Text:
        line.text(s) = value;
        return true;
    case Kind::CommaDecimal:
    case Kind::PointDecimal: {
        const auto v = parseDecimal(value, line.kind == Kind::CommaDecimal ? u',' : u'.');
        if (!v) return false;
        line.decimal(s) = *v;
        return true;
    }
    case Kind::WorkModeFlag:
        if (value == QLatin1String(line.letter)) line.mode(s) = line.modeValue;
        return true;
    case Kind::DockSide: {
        const bool known = value.size() == 1 && value[0] >= u'1' && value[0] <= u'4';
        s.toolWindowLayout[line.window].dockSide = known ? value[0].unicode() - u'0' : kLeftDock;
        return true;
    }
    case Kind::Mouse:
        s.mouseMode = value == QLatin1String("S") ? MouseMode::Wheel : MouseMode::Click;
        return true;
    case Kind::Written:
        return true;
    }
    return true;
}

// A decimal as it loads back: not a number becomes 0, and a value that rounds beyond the largest double
// (which the next load would refuse, and with it every line after) is brought just inside.
QString decimalText(double value, int precision, QChar separator) {
    if (std::isnan(value)) value = 0;
    if (std::isinf(value)) value = std::copysign(std::numeric_limits<double>::max(), value);
    QString text = formatGeneral(value, precision, separator);
    while (!parseDecimal(text, separator)) {
        value *= 1 - 1e-9;
        text = formatGeneral(value, precision, separator);
    }
    return text;
}

QString lineText(const Line& line, Settings& s) {
    switch (line.kind) {
    case Kind::Flag:
        return line.flag(s) ? QLatin1String(line.letter) : QStringLiteral("-");
    case Kind::Integer:
        return QString::number(line.integer(s));
    case Kind::Text: {
        // A line break inside a text would shift every line after it.
        QString t = line.text(s);
        t.replace(u'\r', u' ').replace(u'\n', u' ');
        return t;
    }
    case Kind::CommaDecimal:
        return decimalText(line.decimal(s), 15, u',');
    case Kind::PointDecimal:
        return decimalText(line.decimal(s), 10, u'.');
    case Kind::WorkModeFlag:
        return line.mode(s) == line.modeValue ? QLatin1String(line.letter) : QStringLiteral("-");
    case Kind::DockSide: {
        const ToolWindowLayout& w = s.toolWindowLayout[line.window];
        return w.floating ? QStringLiteral("-") : QString::number(w.dockSide);
    }
    case Kind::Mouse:
        return s.mouseMode == MouseMode::Wheel ? QStringLiteral("S") : QStringLiteral("C");
    case Kind::Written:
        return line.written(s);
    }
    return {};
}

QString workModeName(WorkMode mode) {
    switch (mode) {
    case WorkMode::CacheOnly:
        return QStringLiteral("cacheOnly");
    case WorkMode::InternetOnly:
        return QStringLiteral("internetOnly");
    case WorkMode::CacheAndInternet:
        return QStringLiteral("cacheAndInternet");
    }
    return {};
}

} // namespace

SettingsLoadResult applySettingsLines(Settings& settings, const QStringList* lines, LanguageTable& language,
                                      const QString& programFolder) {
    SettingsLoadResult result;
    result.fileRead = lines != nullptr;
    bool languageLoaded = false;
    if (lines) {
        const auto& table = lineTable();
        for (const int step : readingOrder()) {
            if (step == kLoadLanguage) {
                language.loadLanguage(programFolder, settings.languageFile);
                languageLoaded = true;
            } else if (step == kRestoreSelection) {
                result.selectionPresent = settings.selectionTop != settings.selectionBottom &&
                                          settings.selectionLeft != settings.selectionRight &&
                                          settings.toolWindowLayout[2].visible;
            } else if (step >= lines->size() || !applyLine(table[step], lines->at(step), settings)) {
                result.stoppedAtLine = step;
                break;
            }
        }
    }
    if (!lines || result.stoppedAtLine || !languageLoaded) language.loadLanguage(programFolder, settings.languageFile);
    return result;
}

SettingsLoadResult loadSettings(Settings& settings, LanguageTable& language, const QString& programFolder) {
    const auto lines = readTextLines(settingsFilePath(programFolder));
    return applySettingsLines(settings, lines ? &*lines : nullptr, language, programFolder);
}

QStringList settingsLines(const Settings& settings) {
    Settings s = settings;
    QStringList out;
    for (const Line& line : lineTable())
        out.append(lineText(line, s));
    return out;
}

bool saveSettings(const Settings& settings, const QString& programFolder) {
    return writeTextLines(settingsFilePath(programFolder), settingsLines(settings));
}

namespace {

// "toolWindowLayout.N.field", as the JSON form names them: N 0 to 2; "visible" of windows 1 and 2 only.
bool setToolWindowField(Settings& settings, const QString& name, const QString& value) {
    const QStringList parts = name.split(u'.');
    if (parts.size() != 3 || parts[0] != u"toolWindowLayout") return false;
    const auto w = parseInt32(parts[1]);
    if (!w || *w < 0 || *w >= kToolWindowCount) return false;
    ToolWindowLayout& t = settings.toolWindowLayout[*w];
    const QString& field = parts[2];
    if (field == u"vertical" || field == u"floating" || (field == u"visible" && *w > 0)) {
        if (value != u"true" && value != u"false") return false;
        (field == u"vertical" ? t.vertical : field == u"floating" ? t.floating : t.visible) = value == u"true";
        return true;
    }
    int* number = field == u"dockPos"     ? &t.dockPos
                  : field == u"dockRow"   ? &t.dockRow
                  : field == u"floatLeft" ? &t.floatLeft
                  : field == u"floatTop"  ? &t.floatTop
                  : field == u"dockSide"  ? &t.dockSide
                                          : nullptr;
    const auto v = parseInt32(value);
    if (!number || !v || (number == &t.dockSide && (*v < kLeftDock || *v > kRightDock))) return false;
    *number = *v;
    return true;
}

} // namespace

bool setSettingByName(Settings& settings, const QString& name, const QString& value) {
    if (name.startsWith(u"toolWindowLayout.")) return setToolWindowField(settings, name, value);
    if (name == QLatin1String("workMode") || name == QLatin1String("jobWorkMode")) {
        WorkMode& mode = name == QLatin1String("workMode") ? settings.workMode : settings.jobWorkMode;
        for (const WorkMode m : {WorkMode::CacheOnly, WorkMode::InternetOnly, WorkMode::CacheAndInternet}) {
            if (workModeName(m) == value) {
                mode = m;
                return true;
            }
        }
        return false;
    }
    for (const Line& line : lineTable()) {
        if (!line.name || name != QLatin1String(line.name)) continue;
        switch (line.kind) {
        case Kind::Flag:
            if (value != QLatin1String("true") && value != QLatin1String("false")) return false;
            line.flag(settings) = value == QLatin1String("true");
            return true;
        case Kind::Integer:
            if (const auto v = parseInt32(value)) {
                line.integer(settings) = *v;
                return true;
            }
            return false;
        case Kind::Text:
            line.text(settings) = value;
            return true;
        case Kind::CommaDecimal:
        case Kind::PointDecimal:
            if (const auto v = parseDecimal(value, u'.')) {
                line.decimal(settings) = *v;
                return true;
            }
            return false;
        case Kind::Mouse:
            if (value != QLatin1String("S") && value != QLatin1String("C")) return false;
            settings.mouseMode = value == QLatin1String("S") ? MouseMode::Wheel : MouseMode::Click;
            return true;
        default:
            return false;
        }
    }
    return false;
}

QJsonObject settingsAsJson(const Settings& settings, Secrets secrets) {
    Settings s = settings;
    if (secrets == Secrets::Masked && !s.proxyPassword.isEmpty()) s.proxyPassword = QStringLiteral("********");
    QJsonObject json;
    for (const Line& line : lineTable()) {
        if (!line.name) continue;
        const QString name = QLatin1String(line.name);
        switch (line.kind) {
        case Kind::Flag:
            json[name] = line.flag(s);
            break;
        case Kind::Integer:
            json[name] = line.integer(s);
            break;
        case Kind::Text:
            json[name] = line.text(s);
            break;
        case Kind::CommaDecimal:
        case Kind::PointDecimal:
            json[name] = line.decimal(s);
            break;
        case Kind::Mouse:
            json[name] = lineText(line, s);
            break;
        default:
            break;
        }
    }
    json[QStringLiteral("workMode")] = workModeName(s.workMode);
    json[QStringLiteral("jobWorkMode")] = workModeName(s.jobWorkMode);
    QJsonArray layout;
    for (int w = 0; w < kToolWindowCount; ++w) {
        const ToolWindowLayout& t = s.toolWindowLayout[w];
        QJsonObject o{{QStringLiteral("dockPos"), t.dockPos},     {QStringLiteral("dockRow"), t.dockRow},
                      {QStringLiteral("floatLeft"), t.floatLeft}, {QStringLiteral("floatTop"), t.floatTop},
                      {QStringLiteral("vertical"), t.vertical},   {QStringLiteral("floating"), t.floating},
                      {QStringLiteral("dockSide"), t.dockSide}};
        if (w > 0) o[QStringLiteral("visible")] = t.visible;
        layout.append(o);
    }
    json[QStringLiteral("toolWindowLayout")] = layout;
    return json;
}

} // namespace zelvano
