#include "app/about_window.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/app_texts.h"

void ShowAboutWindow(QWidget* parent) {
  auto* about = new QDialog(parent);
  about->setObjectName("FormAbout");
  about->setWindowTitle("About");
  about->setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(about);
  auto* text = new QLabel(QString("<h3>%1</h3><p>3D sculpting of triangle meshes.</p>"
                                  "<p><a href=\"https://plasmora.example.org\">plasmora.example.org</a></p>")
                              .arg(kMainCaption),
                          about);
  text->setOpenExternalLinks(true);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, about);
  QObject::connect(buttons, &QDialogButtonBox::accepted, about, &QDialog::accept);
  layout->addWidget(buttons);
  about->open();
}
