#include "cli/arguments.h"

#include "base/number_text.h"
#include "config/program_folder.h"
#include "geo/tile_math.h"

#include <QJsonDocument>

#include <cmath>
#include <cstdio>

namespace zelvano::cli {

std::optional<Options> parseOptions(const QStringList& args, const QStringList& valueOptions,
                                    const QStringList& flagOptions, QString& error,
                                    const QStringList& repeatedOptions) {
    Options options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1StringView("--"))) {
            error = QStringLiteral("unexpected argument \"%1\"").arg(arg);
            return std::nullopt;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = arg.mid(2, eq < 0 ? -1 : eq - 2);
        if (flagOptions.contains(name) && eq < 0) {
            options.flags.insert(name);
        } else if (valueOptions.contains(name) || repeatedOptions.contains(name)) {
            QString value;
            if (eq >= 0) {
                value = arg.mid(eq + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                error = QStringLiteral("option --%1 needs a value").arg(name);
                return std::nullopt;
            }
            if (repeatedOptions.contains(name))
                options.repeated.insert(name, value);
            else
                options.values[name] = value;
        } else {
            error = QStringLiteral("unknown option \"%1\"").arg(arg);
            return std::nullopt;
        }
    }
    return options;
}

std::optional<double> parseUserNumber(const QString& text) {
    auto value = parseDecimal(text, u'.');
    if (!value) value = parseDecimal(text, u',');
    if (value && !std::isfinite(*value)) return std::nullopt;
    return value;
}

ProgramState loadProgramState() {
    return ProgramState::load(programFolder());
}

void printJson(const QJsonObject& json) {
    const QByteArray out = QJsonDocument(json).toJson(QJsonDocument::Indented);
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
}

namespace {

double requiredNumber(const Options& options, const QString& name, double limit) {
    if (!options.values.contains(name)) throw UsageError{QStringLiteral("missing option --%1").arg(name)};
    const auto value = parseUserNumber(options.values[name]);
    if (!value) throw UsageError{QStringLiteral("--%1: \"%2\" is not a number").arg(name, options.values[name])};
    if (*value < -limit || *value > limit)
        throw UsageError{QStringLiteral("--%1 must lie between -%2 and %2").arg(name, QString::number(limit))};
    return *value;
}

} // namespace

ZoomAndPosition requiredPosition(const Options& options) {
    if (!options.values.contains(QStringLiteral("zoom"))) throw UsageError{QStringLiteral("missing option --zoom")};
    const auto zoom = parseInt32(options.values[QStringLiteral("zoom")]);
    if (!zoom || *zoom < geo::kMinLevel || *zoom > geo::kMaxLevel)
        throw UsageError{
            QStringLiteral("--zoom must be a whole number from %1 to %2").arg(geo::kMinLevel).arg(geo::kMaxLevel)};
    const double lat = requiredNumber(options, QStringLiteral("lat"), geo::kLatitudeLimit);
    const double lon = requiredNumber(options, QStringLiteral("lon"), 180);
    return {*zoom, geo::Position::fromEastLongitude(lat, lon)};
}

LayerChoice layersOption(const Options& o, const Settings& s) {
    LayerChoice layers = jobLayers(s);
    if (o.flags.contains(QStringLiteral("secondary"))) layers.secondary = true;
    if (!o.values.contains(QStringLiteral("layers"))) return layers;
    const QString v = o.values[QStringLiteral("layers")];
    if (v == QLatin1StringView("sat")) {
        layers.satellite = true;
        layers.map = false;
    } else if (v == QLatin1StringView("map")) {
        layers.satellite = false;
        layers.map = true;
    } else if (v == QLatin1StringView("both")) {
        layers.satellite = layers.map = true;
    } else {
        throw UsageError{QStringLiteral("--layers takes sat, map or both")};
    }
    return layers;
}

WorkMode workModeOption(const Options& o, const Settings& s) {
    if (!o.values.contains(QStringLiteral("mode"))) return s.jobWorkMode;
    const QString v = o.values[QStringLiteral("mode")];
    if (v == QLatin1StringView("cache")) return WorkMode::CacheOnly;
    if (v == QLatin1StringView("internet")) return WorkMode::InternetOnly;
    if (v == QLatin1StringView("both")) return WorkMode::CacheAndInternet;
    throw UsageError{QStringLiteral("--mode takes cache, internet or both")};
}

} // namespace zelvano::cli
