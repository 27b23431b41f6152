// Keeps the crash-recovery record of the scene (io/recovery_record.h) up to
// date while the sculptor runs. A change only marks the record stale; it is
// written at most every few seconds, never while a stroke runs, and on a
// worker thread: the window thread only copies the scene's arrays.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <future>
#include <string>

#include "model/scene.h"

class TRecoveryKeeper : public QObject {
  Q_OBJECT

 public:
  static constexpr int kIntervalMs = 3000;

  // The record goes into `folder` (with its trailing '/'), which
  // `prepareFolder` makes ("" or why it could not); `busy` says a stroke runs.
  TRecoveryKeeper(const TScene& scene, std::string folder, std::function<std::string()> prepareFolder,
                  std::function<bool()> busy);
  ~TRecoveryKeeper() override;  // waits for a write in flight

  // The scene changed: the record follows within the interval.
  void MarkChanged();
  // The record holds the scene as of the last change.
  bool upToDate() const;
  std::string path() const;

 private:
  void Tick();
  // Takes the result of the finished write.
  void CollectWrite();
  // A failure is shown once a run: the record is a safety net, not the work.
  void Report(const std::string& error);

  const TScene& scene_;
  std::string folder_;
  std::function<std::string()> prepareFolder_;
  std::function<bool()> busy_;
  QTimer timer_;
  QElapsedTimer sinceWrite_;
  std::future<std::string> writing_;
  bool stale_ = false;
  bool errorShown_ = false;
};
