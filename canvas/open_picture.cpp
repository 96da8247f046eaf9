#include "canvas/open_picture.h"

#include <climits>
#include <cmath>

#include "canvas/canvas_surface.h"
#include "canvas/picture.h"
#include "canvas/picture_file.h"
#include "canvas/read_file_bytes.h"

int CellsInHundreds(int height, int width) {
  const double hundreds = std::trunc(double(height) * double(width) / 100.0);
  // Sizes come from file headers; keep the conversion to int defined for any of them.
  return hundreds >= double(INT_MAX) ? INT_MAX : int(hundreds);
}

void OpenPicture(PictureOpeningWindow& window) {
  if (!window.ShowPictureDialog()) return;
  const std::string path = window.SourcePicturePath();

  // The height is measured only when the width passes; a size of 0 passes both.
  if (PictureWidth(path) > kMaxPictureWidth || PictureHeight(path) > kMaxPictureHeight) {
    window.ShowMessage(kPictureTooLargeMessage, kDefaultMessageTitle);
    window.SetSourcePicturePath("");
    return;
  }
  window.Canvas().SetCanvasPicture(ReadFileBytes(path));
  // Measured again: the file is what it is now, not what it was a moment ago.
  const int height = PictureHeight(path);
  const int width = PictureWidth(path);
  window.SetProgressMaximum(CellsInHundreds(height, width));
}
