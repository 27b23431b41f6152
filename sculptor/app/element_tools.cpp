// The element transforms' share of the viewport input. None of them is on
// yet, so every event goes on to the stroke handlers.
#include "app/form_main.h"

bool TFormMain::ElementToolPress(int, int) { return false; }
bool TFormMain::ElementToolMove(int, int, bool) { return false; }
bool TFormMain::ElementToolRelease() { return false; }
bool TFormMain::ElementToolWheel(int) { return false; }
