// The program's look: the dark Fusion theme and the splash picture.
#pragma once

#include <QPixmap>

class QApplication;

void ApplyDarkStyle(QApplication& app);
QPixmap MakeSplashPicture();
