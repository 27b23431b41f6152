// PLY files, ASCII and binary of both byte orders.
#include "fuzz_model.h"
#include "io/ply_reader.h"

FUZZ_TARGET(ply)(const uint8_t* data, size_t size) {
  return ReadAndConvert(AsText(data, size), kModelPly,
                        [](TOBJModel& model, std::string_view text) { ParsePly(model, text, "fuzz.ply"); });
}
