#include "app/form_image_base.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/picture_files.h"
#include "app/widget_factory.h"

TFormImageBase::TFormImageBase(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName("FormImageBase");
  setWindowTitle("Reference Image");
  ImageBase = Named(new QLabel(this), "ImageBase");
  ImageBase->setAlignment(Qt::AlignCenter);
  ImageBase->setMinimumSize(64, 64);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ImageBase);
  resize(480, 480);
}

void TFormImageBase::ShowPicture(const QImage& picture) {
  picture_ = picture;
  ::ShowPicture(ImageBase, picture_);
  show();
  raise();
}

void TFormImageBase::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ::ShowPicture(ImageBase, picture_);
}
