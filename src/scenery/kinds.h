// The kind decoders of the scenery-object table.
//
// Each is handed the kind data of one object (the bytes after its 28- or 44-byte header) as a
// record of its own, writes its element, indented two tabs, inside the `SceneryObject` element
// that the walk has opened, and returns the number of kind-data bytes it describes; the walk
// continues after them. Kind data too short for the layout its decoder reads is reported, nothing
// is written for it, and the whole kind data counts as consumed.
#pragma once

#include <cstdint>

#include "bgl/context.h"
#include "bgl/record.h"

namespace terrova {

uint32_t decode_generic_building(DecodeContext& ctx, const char* name, const Record& kind_data);
uint32_t decode_library_object(DecodeContext& ctx, const char* name, const Record& kind_data);
uint32_t decode_windsock(DecodeContext& ctx, const char* name, const Record& kind_data);
uint32_t decode_effect(DecodeContext& ctx, const char* name, const Record& kind_data);
uint32_t decode_trigger(DecodeContext& ctx, const char* name, const Record& kind_data);
// The MSFS kinds: the windsock with a container title (0x18) and the SimObject (0x19).
uint32_t decode_msfs_windsock(DecodeContext& ctx, const char* name, const Record& kind_data);
uint32_t decode_sim_object(DecodeContext& ctx, const char* name, const Record& kind_data);
// The MSFS kinds of a car-parking area (0x16), the later SimObject with a livery (0x1D) and the
// later car-parking area with its cars' heading (0x1E).
uint32_t decode_car_parking(DecodeContext& ctx, const char* name, const Record& kind_data);
uint32_t decode_livery_sim_object(DecodeContext& ctx, const char* name, const Record& kind_data);
uint32_t decode_later_car_parking(DecodeContext& ctx, const char* name, const Record& kind_data);

// The smallest kind data each decoder reads before it knows its layout.
constexpr uint32_t kGenericBuildingMinSize = 10;
constexpr uint32_t kLibraryObjectMinSize = 20;
constexpr uint32_t kWindsockMinSize = 18;
constexpr uint32_t kEffectMinSize = 80;
constexpr uint32_t kTriggerMinSize = 6;
constexpr uint32_t kMsfsWindsockMinSize = 20;
constexpr uint32_t kSimObjectMinSize = 8;
constexpr uint32_t kCarParkingMinSize = 2;
constexpr uint32_t kLiverySimObjectMinSize = 10;
constexpr uint32_t kLaterCarParkingMinSize = 6;

// True when the kind data of an MSFS object with a container title ends with the title's 2 zero
// bytes at `length`: nothing is left that could hold a container path.
bool has_no_container_path(const Record& kind_data, uint64_t length);

// The beacon of an attachment: its code's type and base type (attached_object.cpp), or nullptr
// for a code without a row.
struct BeaconType {
  uint8_t code;
  const char* type;
  const char* base_type;
};
const BeaconType* find_beacon_type(uint8_t code);

// The 32-digit text of a 16-byte GUID at `at`: four little-endian u32 words, each as 8 lower-case
// hexadecimal digits. Library objects, model data and the names file share this form.
struct GuidText {
  char digits[33];
  std::string_view str() const { return {digits, 32}; }
};
GuidText guid_text(const Record& record, uint64_t at);

}  // namespace terrova
