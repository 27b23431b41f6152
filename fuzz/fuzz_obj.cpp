// OBJ files: the text reader in its OBJ dialect, with the gathering of groups' vertices.
#include "fuzz_model.h"
#include "io/obj_reader.h"

FUZZ_TARGET(obj)(const uint8_t* data, size_t size) {
  return ReadAndConvert(AsText(data, size), kModelObj, [](TOBJModel& model, std::string_view text) { ParseObj(model, text); });
}
