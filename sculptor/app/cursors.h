// The custom pointer shapes "ROTATE", "SCALE", "MOVE" and "DROPPER", drawn by
// the program itself.
#pragma once

#include <QCursor>
#include <QString>

QCursor MakeCustomCursor(const QString& name);
