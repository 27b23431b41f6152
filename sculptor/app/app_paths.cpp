#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

void SetApplicationIdentity() {
  QCoreApplication::setApplicationName("plasmora");
  QCoreApplication::setOrganizationName("plasmora");
}

QString ProgramDirectory() { return QCoreApplication::applicationDirPath(); }

QString UserPreferencesPath() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath("prefer1.txt");
}

QString PreferencesPathToRead(const QString& programDir) {
  const QString user = UserPreferencesPath();
  if (QFileInfo::exists(user)) return user;
  return QDir(programDir).filePath("prefer1.txt");
}

QString WithExtension(const QString& name, const QString& extension) {
  return name.endsWith(extension, Qt::CaseInsensitive) ? name : name + extension;
}
