#include "io/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

std::string ProcessFolderIn(const std::string& tempFolder) {
  std::string base = tempFolder.empty() ? "." : tempFolder;
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/plasmora-" + std::to_string(::getpid()) + "/";
}

std::string PreparePrivateFolder(const std::string& folder) {
  const std::string dir = folder.substr(0, folder.size() - 1);  // a trailing '/' would follow a link
  if (::mkdir(dir.c_str(), 0700) == 0) return "";
  const int error = errno;
  struct stat info{};
  if (error == EEXIST && ::lstat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid())
    return "";
  return std::strerror(error == EEXIST ? EPERM : error);
}
