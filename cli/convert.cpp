// convert IN OUT: a model file in the format of OUT's extension.
#include "cli.h"

int RunConvert(const std::vector<std::string>& arguments) {
  const std::string &in = arguments[0], &out = arguments[1];
  const TModelFormat* format = OutputFormat(out);
  if (format == nullptr) return kFailure;
  TScene scene;
  if (!LoadScene(in, scene) || !WriteScene(scene, out, *format)) return kFailure;
  return kSuccess;
}
