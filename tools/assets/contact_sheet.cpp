#include "assets/contact_sheet.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include "app/start_mesh.h"
#include "base_models.h"

bool WriteContactSheet(const std::string& programFolder, const std::string& outFile) {
  constexpr int kTile = 160, kCaption = 22, kColumns = 7;
  const auto models = BaseModels();
  const int rows = int((models.size() + kColumns - 1) / kColumns);
  QImage sheet(kColumns * kTile, rows * (kTile + kCaption), QImage::Format_RGB888);
  sheet.fill(QColor(38, 38, 38));
  QPainter painter(&sheet);
  painter.setPen(QColor(220, 220, 220));
  QFont font = painter.font();
  font.setPixelSize(13);
  painter.setFont(font);
  for (size_t i = 0; i < models.size(); ++i) {
    const TStartMeshChoice& choice = kStartMeshChoices[size_t(models[i].choice - 1)];
    const QImage preview(QString::fromStdString(programFolder + "/" + choice.preview));
    if (preview.isNull()) return false;
    const int x = int(i % kColumns) * kTile, y = int(i / kColumns) * (kTile + kCaption);
    painter.drawImage(QRect(x, y, kTile, kTile), preview);
    painter.drawText(QRect(x, y + kTile, kTile, kCaption), Qt::AlignCenter, choice.caption);
  }
  painter.end();
  return sheet.save(QString::fromStdString(outFile), "PNG");
}
