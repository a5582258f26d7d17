#pragma once

#include <QIcon>
#include <QPixmap>

enum class ToolIcon { Settings, Wizard, Goods, Reports };

// Tool bar icons, drawn in code so the program carries no borrowed pictures.
QIcon DrawToolIcon(ToolIcon icon);

// The pictures of the splash, about box, wait window and wizard pages.
QPixmap DrawSplashPicture(const QSize& size);
QPixmap DrawDevicePicture(const QSize& size);
QPixmap DrawHourglassPicture(const QSize& size);
