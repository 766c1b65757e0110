// ILS records: the navaid section keeps them for the runways, which write them inside their
// `Runway` element.
#pragma once

#include "bgl/deferred.h"
#include "bgl/record.h"

namespace terrova {

// The fields of an ILS record that a runway writes. Damage among its sub-records ends the read
// and is noted in the entry, to be reported where the ILS is written.
IlsEntry read_ils(const Record& ils);

}  // namespace terrova
