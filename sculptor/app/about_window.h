// Help > About.
#pragma once

class QWidget;

void ShowAboutWindow(QWidget* parent);
