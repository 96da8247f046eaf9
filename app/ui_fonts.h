#pragma once
// The program's two fonts. The window is laid out for SimSun at 12 pixels, the Chinese
// desktop's user-interface font; where SimSun is missing, WenQuanYi Zen Hei's sharp face
// has the same 12-pixel cell, so every text fits its control (the help text's seven lines
// in 96 pixels above all). The text box writes in SimSun at 14 pixels.

#include <QFont>

// For the window and every control without a font of its own.
QFont WindowFont();

// For 编辑框1.
QFont EditBoxFont();
