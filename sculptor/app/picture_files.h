// Pictures the user picks for the stamp, the stencil and the reference images:
// the picture dialog's request, and reading a picture to show it on a panel.
#pragma once

#include <QImage>
#include <QString>

#include "app/document.h"

class QLabel;

// OpenPictureDialog: all the common picture formats, then each on its own.
TFileRequest PictureRequest(const QString& caption);

// The picture in `fileName` (Qt's readers, the program's own for TGA); a null
// image when it cannot be read.
QImage ReadPicture(const QString& fileName);

// Shows `picture` scaled into `label`'s box, keeping its aspect.
void ShowPicture(QLabel* label, const QImage& picture);
