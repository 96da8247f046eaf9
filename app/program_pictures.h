#pragma once
// The pictures compiled into the program: the window icon and the two button pictures.

#include <QIcon>
#include <QString>
#include <vector>

// Where the resources sit in the program's resource system.
inline constexpr const char* kProgramIconPath = ":/resources/tessarin.ico";
inline constexpr const char* kOpenButtonPicturePath = ":/resources/open_picture.bmp";
inline constexpr const char* kMakeButtonPicturePath = ":/resources/make_workbook.bmp";

// One image of an icon file as its directory lists it.
struct IconEntry {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;

  bool operator==(const IconEntry&) const = default;
};

// The images an icon file lists, in file order; empty when it is no icon file.
std::vector<IconEntry> ReadIconDirectory(const QString& path);

// The window icon, one image per size: of the images the icon file holds for a size,
// the one with the most colours.
QIcon ProgramIcon();

QIcon OpenButtonPicture();
QIcon MakeButtonPicture();
