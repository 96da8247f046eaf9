#include "app/main_window.h"

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("Tessarin by：Korvald"));
  setFixedSize(910, 631);
}
