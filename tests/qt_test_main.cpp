// Entry point of the widget tests: one QApplication for the whole binary.
#include <QApplication>

#include <gmock/gmock.h>

int main(int argc, char* argv[]) {
  ::testing::InitGoogleMock(&argc, argv);
  // Test discovery runs the binary without the tests' environment: no display is needed
  // there either.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
