// OFF files.
#include "fuzz_model.h"
#include "io/off_reader.h"

FUZZ_TARGET(off)(const uint8_t* data, size_t size) {
  return ReadAndConvert(AsText(data, size), kModelOff, [](TOBJModel& model, std::string_view text) { ParseOff(model, text); });
}
