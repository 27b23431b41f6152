// Met files: the text reader in its Met dialect.
#include "fuzz_model.h"
#include "io/met_reader.h"

FUZZ_TARGET(met)(const uint8_t* data, size_t size) {
  return ReadAndConvert(AsText(data, size), kModelMet,
                        [](TOBJModel& model, std::string_view text) { ParseTextModel(model, text, kMetDialect); });
}
