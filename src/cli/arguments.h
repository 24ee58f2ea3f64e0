// Command-line options of zelvano-cli verbs: "--name value", "--name=value" and bare flags.
#pragma once

#include "config/program_state.h"
#include "geo/position.h"

#include <QJsonObject>
#include <QMap>
#include <QMultiMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace zelvano::cli {

struct Options {
    QMap<QString, QString> values;
    QMultiMap<QString, QString> repeated; // options that may be given more than once, in order
    QSet<QString> flags;
};

// Parses `args` against the verb's known options; on an unknown or incomplete option returns nothing and
// sets `error` to a message for the user.
std::optional<Options> parseOptions(const QStringList& args, const QStringList& valueOptions,
                                    const QStringList& flagOptions, QString& error,
                                    const QStringList& repeatedOptions = {});

// An ordinary decimal number as users type it, with a point (a comma is accepted as well).
std::optional<double> parseUserNumber(const QString& text);

// --zoom, --lat and --lon as users type them, north and east positive.
struct ZoomAndPosition {
    int zoom;
    geo::Position position;
};
ZoomAndPosition requiredPosition(const Options& options);

// --layers sat|map|both and --secondary over the settings' job layers; --mode cache|internet|both over
// the job work mode.
LayerChoice layersOption(const Options& options, const Settings& settings);
WorkMode workModeOption(const Options& options, const Settings& settings);

// The program folder's state, loaded exactly as the desktop program loads it.
ProgramState loadProgramState();

// Writes the object to stdout, indented.
void printJson(const QJsonObject& json);

// Thrown by a verb for bad arguments; main() prints it and exits with status 2.
struct UsageError {
    QString message;
};

} // namespace zelvano::cli
