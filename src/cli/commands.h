// The verbs of zelvano-cli. Each takes the arguments after the verb, writes its result to stdout and
// returns the exit status; bad arguments throw UsageError.
#pragma once

#include <QStringList>

namespace zelvano::cli {

int locateCommand(const QStringList& args);
int settingsCommand(const QStringList& args);
int fetchCommand(const QStringList& args);
int measureCommand(const QStringList& args);
int downloadCommand(const QStringList& args);
int generateCommand(const QStringList& args);
int stitchCommand(const QStringList& args);
int copyCommand(const QStringList& args);

} // namespace zelvano::cli
