// Entry point of the widget tests: one QApplication for the whole binary.
#include <QApplication>

#include <gmock/gmock.h>

int main(int argc, char* argv[]) {
  ::testing::InitGoogleMock(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
