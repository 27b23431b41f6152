#include "assets/user_guide.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTextDocument>

namespace {

// The README's second-level sections a user of the programs reads.
constexpr const char* kUsageSections[] = {"Quick start", "Sculpting", "plasmora-cli", "voxquad", "poissonrecon"};

bool IsUsageSection(const QString& heading) {
  for (const char* section : kUsageSections) {
    if (heading.startsWith(section)) return true;
  }
  return false;
}

}  // namespace

QString UserGuideMarkdown(const QString& readmeMarkdown) {
  QStringList kept;
  bool keeping = true;  // the title and the introduction come first
  bool inCode = false;
  for (const QString& line : readmeMarkdown.split('\n')) {
    if (line.startsWith("```")) inCode = !inCode;
    if (!inCode && line.startsWith("## ")) keeping = IsUsageSection(line.mid(3));
    if (keeping && !line.startsWith("![")) kept << line;
  }
  return kept.join('\n');
}

bool WriteUserGuide(const QString& readmePath, const QString& htmlPath) {
  QFile readme(readmePath);
  if (!readme.open(QIODevice::ReadOnly)) return false;
  QTextDocument guide;
  guide.setMarkdown(UserGuideMarkdown(QString::fromUtf8(readme.readAll())));
  guide.setMetaInformation(QTextDocument::DocumentTitle, "Plasmora user guide");
  QSaveFile html(htmlPath);
  if (!html.open(QIODevice::WriteOnly)) return false;
  html.write(guide.toHtml().toUtf8());
  return html.commit();
}
