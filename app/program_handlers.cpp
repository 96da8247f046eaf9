#include "app/program_handlers.h"

#include "app/main_window.h"
#include "app/message_box.h"

ProgramHandlers::ProgramHandlers(MainWindow& window, MessageBoxService& messages)
    : window_(window), messages_(messages) {}

// Opening a picture onto the canvas comes with the canvas surface.
void ProgramHandlers::OpenPicture() {}

// The conversion into a workbook comes with the spreadsheet link.
void ProgramHandlers::RunConversion() {}

// Pen points and text stamps come with the canvas surface.
void ProgramHandlers::CanvasMouseDown(std::uint16_t, std::uint16_t, int) {}
void ProgramHandlers::CanvasMouseMove(std::uint16_t, std::uint16_t, int) {}
void ProgramHandlers::CanvasMouseUp(std::uint16_t, std::uint16_t, int) {}
