// Request addresses of a tile for both tile services, formatted from its identity, and the spreading of
// requests over numbered mirror servers. Pure functions except the mirror digit, which comes from the
// calling thread's own generator.
#pragma once

#include "geo/tile_id.h"

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

// template + the tile's letters: with a template ending in "=t" the text after the last "=" is the name.
QString satelliteRequest(const QString& satelliteTemplate, const TileId& tile);
// template + x + "&y=" + y + "&zoom=" + service zoom (negative from level 18 on): the map and hybrid forms.
QString mapRequest(const QString& mapTemplate, const TileId& tile);

// A secondary-service request: the template's text before its first "...", the tile's quadkey, then the
// rest of the template. With mirrors on, the second character of the host becomes a mirror digit. A
// template without "..." gets the quadkey appended.
QString secondaryRequest(const QString& secondaryTemplate, const TileId& tile, bool mirrors);

// A primary request as sent: with mirrors on, a mirror digit goes right before the first ".orbexa".
QString withMirror(const QString& request, bool mirrors);

} // namespace zelvano::geo
