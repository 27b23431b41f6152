// At start-up: the scenes that earlier runs left behind when they died (see
// io/recovery_record.h) are offered back, newest first.
#pragma once

#include <functional>
#include <string>

#include "io/recovery_record.h"

inline constexpr const char* kRecoverQuestion = "Plasmora closed unexpectedly last time. Recover the unsaved work?";

// For each record of an ended run in `tempFolder`, asks kRecoverQuestion. Yes
// hands its scene to `install` and removes the run's folder; No removes the
// folder and goes on to the next. A record that cannot be read is said so
// and removed. True when a scene was installed.
bool OfferCrashRecovery(const std::string& tempFolder, const std::function<void(RecoveredScene&&)>& install);
