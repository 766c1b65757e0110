// The partial-decoding circle and the spherical geometry behind it (pi taken as 3.141592653589).
#pragma once

#include "bgl/context.h"
#include "bgl/record.h"

namespace terrova {

// True when the position is to be decoded: always without a circle; otherwise when its distance
// from the centre is at most the radius (a distance that is not a number counts as inside).
bool in_decode_circle(const DecodeOptions& options, double lat, double lon);
// The same for the position of `record`; a record outside the circle is not decoded, and so is left
// out of the unread-bytes report.
bool in_decode_circle(const DecodeOptions& options, double lat, double lon, const Record& record);

// Great-circle distance in metres by the spherical law of cosines.
double great_circle_distance(double lat1, double lon1, double lat2, double lon2);

struct Position {
  double lat;
  double lon;
};
// The position `east` and `north` metres from (lat, lon).
Position offset_position(double lat, double lon, double east, double north);

}  // namespace terrova
