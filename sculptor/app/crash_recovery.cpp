#include "app/crash_recovery.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "io/mapped_file.h"
#include "model/messages.h"

namespace {

// The folder without its trailing '/' (removing through a link would follow it).
void RemoveFolder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::path(folder).parent_path(), ec);
}

}  // namespace

bool OfferCrashRecovery(const std::string& tempFolder, const std::function<void(RecoveredScene&&)>& install) {
  for (const std::string& folder : FindAbandonedRecords(tempFolder)) {
    if (AskConfirmation(kRecoverQuestion) != MessageAnswer::Yes) {
      RemoveFolder(folder);
      continue;
    }
    const std::string path = folder + kRecoveryRecordName;
    std::optional<RecoveredScene> scene;
    MappedFile file;
    if (file.Open(path)) scene = DecodeRecoveryRecord(file.text());
    if (!scene) {
      ShowError("The recovery record " + path + " is damaged or incomplete. Nothing was recovered.");
      RemoveFolder(folder);
      continue;
    }
    install(std::move(*scene));
    RemoveFolder(folder);
    return true;
  }
  return false;
}
