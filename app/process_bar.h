#pragma once
// The horizontal progress bar drawn in segments inside a thin solid border.

#include <QWidget>

class ProcessBar final : public QWidget {
  Q_OBJECT

 public:
  // Every value written is first clamped to 0 .. kLargestValue.
  static constexpr int kLargestValue = 32767;

  explicit ProcessBar(QWidget* parent = nullptr);

  void SetMaximum(int maximum);
  void SetPosition(int position);

  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  int Position() const { return position_; }
  // The range runs from the smaller to the larger of minimum and maximum; the position
  // shown is the position clamped into it.
  int RangeLow() const;
  int RangeHigh() const;
  int ShownPosition() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
};
