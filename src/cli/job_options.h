// The options the job verbs share: the level, the box or the stored selection, the connections and the
// calibration formats, each falling back on the settings as the window would.
#pragma once

#include "cli/arguments.h"

#include "jobs/job_builder.h"

namespace zelvano::cli {

// --zoom L (1 to 24), else the job level of the settings.
int levelOption(const Options& options, const Settings& settings);
// --bbox WEST,SOUTH,EAST,NORTH (east and north positive) or the stored selection, put in order and kept
// inside the map as the job dialog does.
void areaOption(const Options& options, const Settings& settings, JobDefinition& definition);
// --connections N (1 to 8), else Zelvano.ini.
int connectionsOption(const Options& options, const QString& programFolder);
// --calib ozi,mapinfo,world,seeyou or none, else the four flags of the settings.
CalibrationFormats calibrationOption(const Options& options, const Settings& settings);

} // namespace zelvano::cli
