// "prefer1.txt": what is accepted is written and read back unchanged.
#include "fuzz_target.h"
#include "io/preferences.h"

FUZZ_TARGET(preferences)(const uint8_t* data, size_t size) {
  const std::optional<TPreferences> prefs = ParsePreferences(AsText(data, size));
  if (prefs) FUZZ_CHECK(ParsePreferences(FormatPreferences(*prefs)) == prefs);
  return 0;
}
