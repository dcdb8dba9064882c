// Turning the window's design tables into Qt terms: twips to pixels, alignments, texts, the
// design's fixed colours.
#pragma once

#include "profile/form_design.h"

#include <QPalette>
#include <QRect>
#include <QString>
#include <string_view>

namespace dieprofile {

// Twips to whole pixels at the design's 15 twips a pixel.
int Px(double twips);
QRect PxRect(int left, int top, int width, int height);

Qt::Alignment HorizontalAlignment(LabelAlignment alignment);

QString ToQString(std::string_view text);

// The window's ground and the panel are white; lines and captions are black, whatever desktop
// theme is in force.
QPalette DesignPalette(const QPalette& base);

} // namespace dieprofile
