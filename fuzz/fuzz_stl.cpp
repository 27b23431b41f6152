// STL files, binary and ASCII.
#include "fuzz_model.h"
#include "io/stl_reader.h"

FUZZ_TARGET(stl)(const uint8_t* data, size_t size) {
  return ReadAndConvert(AsText(data, size), kModelStl, [](TOBJModel& model, std::string_view bytes) { ParseStl(model, bytes); });
}
