#include "airport/subrecords.h"

#include <iterator>
#include <span>

#include "airport/approach.h"
#include "airport/apron.h"
#include "airport/msfs_airport.h"
#include "airport/msfs_later_records.h"
#include "airport/painted_elements.h"
#include "airport/taxiway.h"
#include "airport/taxiway_sign.h"
#include "airport/terminal_procedure.h"

namespace terrova {
namespace {

// Searched from the top. Sub-records without a row are dumped by
// the airport decoder; id 0x30, an apron's companion that its apron did not take, is passed over
// silently. The smallest sizes are the bytes each decoder reads before its lists. The later forms
// of a kind share its decoder, which tells them apart by id.
constexpr AirportSubrecordKind airport_subrecord_kinds[] = {
    {0x04, "Runway",          52, decode_runway           },
    {0x11, "Start",           24, decode_start            },
    {0x12, "Com",             12, decode_com              },
    {0x1A, "TaxiwayPoint",    8,  decode_taxiway_point    },
    {0x1B, "TaxiwayParking",  8,  decode_taxiway_parking  },
    {0x1C, "TaxiwayPath",     8,  decode_taxiway_path     },
    {0x1D, "TaxiName",        8,  decode_taxi_name        },
    {0x24, "Approach",        32, decode_approach         },
    {0x26, "Helipad",         36, decode_helipad          },
    {0x31, "ApronEdgeLights", 24, decode_apron_edge_lights},
    {0x33, "DeleteAirport",   8,  decode_delete_airport   },
    {0x37, "Apron",           9,  decode_apron            },
    {0x38, "BlastFence",      40, decode_fence            },
    {0x39, "BoundaryFence",   40, decode_fence            },
    {0x3D, "TaxiwayParking",  8,  decode_taxiway_parking  },
    {0x3A, "Jetway",          14, decode_jetway           },
    {0x40, "TaxiwayPath",     8,  decode_taxiway_path     },
    {0xAC, "TaxiwayPoint",    8,  decode_taxiway_point    },
    {0xAD, "TaxiwayParking",  8,  decode_taxiway_parking  },
    {0xAE, "TaxiwayPath",     8,  decode_taxiway_path     },
    {0xAF, "Apron",           30, decode_apron            },
    {0xB5, "SceneryObject",   10, decode_helipad_object   },
    {0xB6, "Approach",        36, decode_approach         },
    {0x3E, "Runway",          68, decode_later_runway     },
};

// The sub-records of an MSFS airport (0x56 and 0x113), searched before the table above, whose rows
// serve the ids that the MSFS form stores as the older forms do (taxiway points, taxi names, coms,
// helipads, DeleteAirport). The MSFS ids occur in no other airport.
constexpr AirportSubrecordKind msfs_subrecord_kinds[] = {
  // Ground layout.
    {0xCE, "Runway",             96, decode_msfs_runway           },
    {0x11, "Start",              24, decode_msfs_start            },
    {0xE7, "TaxiwayParking",     8,  decode_msfs_taxiway_parking  },
    {0xD4, "TaxiwayPath",        8,  decode_msfs_taxiway_path     },
    {0xD3, "Apron",              48, decode_msfs_apron            },
    {0x31, "ApronEdgeLights",    24, decode_msfs_apron_edge_lights},
    {0xDE, "Jetway",             18, decode_msfs_jetway           },
 // Painted elements, signs and procedures.
    {0xCF, "PaintedLine",        28, decode_painted_elements      },
    {0xD8, "PaintedHatchedArea", 20, decode_painted_elements      },
    {0xD9, "TaxiwaySign",        22, decode_msfs_taxiway_sign     },
    {0x42, "Departure",          20, decode_terminal_procedure    },
    {0x48, "Arrival",            20, decode_terminal_procedure    },
 // Placements, meshes and lights of the later SDKs.
    {0x5A, "VectorPlacement",    48, decode_msfs_vector_placement },
    {0xE8, "ProjectedMesh",      14, decode_msfs_projected_mesh   },
    {0x57, "LightSupport",       52, decode_msfs_light_support    },
    {0x58, "LightPreset",        6,  decode_msfs_light_preset     },
    {0xE9, "GroundMerging",      16, decode_msfs_ground_merging   },
 // Aprons of the later SDKs: the 0xD3 layout with the texture offsets before the counts.
    {0xD0, "Apron",              52, decode_msfs_apron            },
 // Approaches of the later SDKs: the 0x24 form with 4 more header bytes.
    {0xFA, "Approach",           36, decode_approach              },
};

// The sub-records of an MSFS 2024 airport (0x113) whose forms differ from the 2020 ones, searched
// before the MSFS rows, which serve the rest.
constexpr AirportSubrecordKind msfs2024_subrecord_kinds[] = {
    {0xFB, "Helipad", 36, decode_msfs2024_helipad},
};

}  // namespace

const AirportSubrecordKind* find_airport_subrecord_kind(uint32_t id, uint16_t airport_id) {
  if (airport_id == kMsfs2024AirportId) {
    if (const AirportSubrecordKind* kind =
            find_record_kind(std::span<const AirportSubrecordKind>(msfs2024_subrecord_kinds), id)) {
      return kind;
    }
  }
  if (is_msfs_airport_id(airport_id)) {
    if (const AirportSubrecordKind* kind =
            find_record_kind(std::span<const AirportSubrecordKind>(msfs_subrecord_kinds), id)) {
      return kind;
    }
  }
  return find_record_kind(std::span<const AirportSubrecordKind>(airport_subrecord_kinds), id);
}

}  // namespace terrova
