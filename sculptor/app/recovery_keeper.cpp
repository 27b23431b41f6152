#include "app/recovery_keeper.h"

#include <algorithm>
#include <chrono>

#include "io/recovery_record.h"
#include "model/messages.h"

namespace {

constexpr int kRetryMs = 250;  // while a stroke runs or the last write is still going

bool Finished(const std::future<std::string>& f) {
  return !f.valid() || f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

}  // namespace

TRecoveryKeeper::TRecoveryKeeper(const TScene& scene, std::string folder, std::function<std::string()> prepareFolder,
                                 std::function<bool()> busy)
    : scene_(scene), folder_(std::move(folder)), prepareFolder_(std::move(prepareFolder)), busy_(std::move(busy)) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &TRecoveryKeeper::Tick);
  sinceWrite_.start();
}

TRecoveryKeeper::~TRecoveryKeeper() {
  if (writing_.valid()) writing_.wait();
}

std::string TRecoveryKeeper::path() const { return folder_ + kRecoveryRecordName; }

bool TRecoveryKeeper::upToDate() const { return !stale_ && Finished(writing_); }

void TRecoveryKeeper::MarkChanged() {
  stale_ = true;
  if (!timer_.isActive()) timer_.start(std::max<qint64>(0, kIntervalMs - sinceWrite_.elapsed()));
}

void TRecoveryKeeper::Tick() {
  if (!Finished(writing_) || busy_()) {
    timer_.start(kRetryMs);
    return;
  }
  CollectWrite();
  if (!stale_) return;
  stale_ = false;
  sinceWrite_.restart();
  std::string error = prepareFolder_();
  if (!error.empty()) return Report(error);
  writing_ = std::async(std::launch::async, [path = path(), record = EncodeRecoveryRecord(scene_)] {
    return WriteRecoveryRecord(path, record);
  });
}

void TRecoveryKeeper::CollectWrite() {
  if (writing_.valid()) Report(writing_.get());
}

void TRecoveryKeeper::Report(const std::string& error) {
  if (error.empty() || errorShown_) return;
  errorShown_ = true;
  ShowWarning("Cannot keep the recovery record " + path() + ": " + error);
}
