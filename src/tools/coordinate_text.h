// Coordinates as the user reads them: hemisphere letter, whole degrees and minutes ("N55° 30,000'"), with
// the comma as decimal separator. Pure functions; any thread.
#pragma once

#include <QString>

namespace zelvano {

// "N55° 30,000'": hemisphere letter, whole degrees, minutes with three decimals.
QString latitudeText(double lat);
QString longitudeText(double lonW); // west positive: "W" for >= 0, else "E"

} // namespace zelvano
