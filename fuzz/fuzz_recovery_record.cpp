// The crash-recovery record: what is accepted encodes back to the same bytes.
#include "fuzz_target.h"
#include "io/recovery_record.h"

FUZZ_TARGET(recovery_record)(const uint8_t* data, size_t size) {
  const std::optional<RecoveredScene> recovered = DecodeRecoveryRecord(AsText(data, size));
  if (!recovered) return 0;
  TScene scene;
  scene.elements = recovered->elements;
  scene.currentElement = recovered->currentElement;
  FUZZ_CHECK(EncodeRecoveryRecord(scene) == AsText(data, size));
  return 0;
}
