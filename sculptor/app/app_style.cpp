#include "app/app_style.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QStyleFactory>

#include "app/app_texts.h"

void ApplyDarkStyle(QApplication& app) {
  app.setStyle(QStyleFactory::create("Fusion"));
  QPalette p;
  // Disabled texts sit close to the background, so they read plainly as grey.
  const QColor window(53, 53, 53), base(35, 35, 35), text(220, 220, 220), disabled(95, 95, 95);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::ToolTipBase, base);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, window);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, Qt::red);
  p.setColor(QPalette::Link, QColor(90, 160, 230));
  p.setColor(QPalette::Highlight, QColor(70, 120, 180));
  p.setColor(QPalette::HighlightedText, Qt::white);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, disabled);
  }
  p.setColor(QPalette::Disabled, QPalette::Light, window);  // no etched highlight under disabled texts
  p.setColor(QPalette::Disabled, QPalette::Button, window.darker(115));
  app.setPalette(p);
}

QPixmap MakeSplashPicture() {
  QPixmap picture(480, 260);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient background(0, 0, 0, 260);
  background.setColorAt(0, QColor(60, 64, 72));
  background.setColorAt(1, QColor(24, 24, 28));
  p.fillRect(picture.rect(), background);
  QRadialGradient ball(QPointF(110, 110), 90, QPointF(80, 80));
  ball.setColorAt(0, QColor(235, 235, 240));
  ball.setColorAt(1, QColor(70, 80, 100));
  p.setBrush(ball);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(120, 130), 80, 80);
  p.setPen(QColor(230, 230, 230));
  QFont font("Arial", 26, QFont::Bold);
  p.setFont(font);
  p.drawText(QRect(215, 90, 260, 50), Qt::AlignLeft | Qt::AlignVCenter, "Plasmora");
  font.setPointSize(12);
  font.setBold(false);
  p.setFont(font);
  p.drawText(QRect(217, 140, 260, 30), Qt::AlignLeft | Qt::AlignVCenter, kMainCaption);
  return picture;
}
