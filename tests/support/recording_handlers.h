#pragma once
// Window handlers that only record which event came, with its arguments.

#include <cstdint>
#include <string>
#include <vector>

#include "app/window_handlers.h"

struct HandlerCall {
  std::string name;
  int x = -1;
  int y = -1;
  int keyState = -1;

  bool operator==(const HandlerCall&) const = default;
};

class RecordingHandlers final : public WindowHandlers {
 public:
  void OpenPicture() override { calls_.push_back({"OpenPicture"}); }
  void RunConversion() override { calls_.push_back({"RunConversion"}); }
  void CanvasMouseDown(std::uint16_t x, std::uint16_t y, int keyState) override {
    calls_.push_back({"CanvasMouseDown", x, y, keyState});
  }
  void CanvasMouseMove(std::uint16_t x, std::uint16_t y, int keyState) override {
    calls_.push_back({"CanvasMouseMove", x, y, keyState});
  }
  void CanvasMouseUp(std::uint16_t x, std::uint16_t y, int keyState) override {
    calls_.push_back({"CanvasMouseUp", x, y, keyState});
  }
  void CanvasReleasedElsewhere() override { calls_.push_back({"CanvasReleasedElsewhere"}); }

  const std::vector<HandlerCall>& Calls() const { return calls_; }
  void Clear() { calls_.clear(); }

 private:
  std::vector<HandlerCall> calls_;
};
