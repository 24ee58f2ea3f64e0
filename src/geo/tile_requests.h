// Request addresses of a tile for both tile services, the quadkey, the steps from a tile to its
// neighbours, and the spreading of requests over numbered mirror servers. Pure functions except the
// mirror digit, which comes from the calling thread's own generator.
#pragma once

#include "geo/tile_math.h"

#include <QString>

namespace zelvano::geo {

// The six request templates of the settings.
struct RequestTemplates {
    QString satellite;       // ends with "=t": the tile name follows the last "="
    QString map;             // ends with "&x="
    QString hybrid;          // ends with "&x="
    QString secondaryAerial; // "..." stands where the quadkey goes
    QString secondaryHybrid;
    QString secondaryRoad;
};

// The three primary requests of one tile, as stored in a tile record.
struct TileRequests {
    QString satellite;
    QString map;
    QString hybrid;
};

QString satelliteRequest(const QString& satelliteTemplate, const QString& letters);
// template + x + "&y=" + y + "&zoom=" + serviceZoom
QString mapRequest(const QString& mapTemplate, int x, int y, int serviceZoom);
TileRequests tileRequests(const RequestTemplates& templates, const TileLocation& tile);

// The tile name ("t" and the letters) of a satellite request: the text after its last "=".
QString tileNameOf(const QString& satelliteRequest);
// One digit per letter after the root: q 0, r 1, t 2, s 3.
QString quadkey(const QString& tileName);

// Replace the requests of a tile by those of its neighbour at the same level. The name wraps around the
// world; the column and row of the map requests do not.
void StepEast(TileRequests& requests, const RequestTemplates& templates);
void StepWest(TileRequests& requests, const RequestTemplates& templates);
void StepNorth(TileRequests& requests, const RequestTemplates& templates);
void StepSouth(TileRequests& requests, const RequestTemplates& templates);

// The service zoom written after "&zoom=" in a map or hybrid request; 0 when it is missing or not a number.
int serviceZoomOf(const QString& mapRequest);

// A secondary-service request: the template's text before its first "...", the quadkey of the tile of
// the satellite request, then the rest of the template. With mirrors on, the second character of the
// host becomes a mirror digit. A template without "..." gets the quadkey appended.
QString secondaryRequest(const QString& secondaryTemplate, const QString& satelliteRequest, bool mirrors);

// A primary request as sent: with mirrors on, a mirror digit goes right before the first ".orbexa".
QString withMirror(const QString& request, bool mirrors);

} // namespace zelvano::geo
