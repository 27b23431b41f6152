// The folder of this process's own inside the temporary folder. The undo
// snapshots and the files exchanged with helper programs live there, out of
// reach of other users and of other running sculptors.
#pragma once

#include <string>

// "<tempFolder>/plasmora-<pid>/" (in the current folder when tempFolder is empty).
std::string ProcessFolderIn(const std::string& tempFolder);

// Creates `folder` (given with its trailing '/'), private to this user. An
// existing one is used only when it is a real directory of this user, never a
// link planted in a shared temporary folder. Returns "" or the reason it
// cannot be used.
std::string PreparePrivateFolder(const std::string& folder);
