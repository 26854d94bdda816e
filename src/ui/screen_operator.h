// The operator interface of the engines (base/operator.h), answered on the screen: boxes and
// messages through the window layer, the Esc poll through the keyboard, tones through the
// terminal.
#pragma once

#include "base/operator.h"
#include "ui/ui.h"

namespace kardo::ui {

class ScreenOperator final : public base::Operator {
 public:
  explicit ScreenOperator(Ui& ui) : ui_(ui) {}

  std::string AVISOSN(const base::Box& box) override { return ui_.AVISOSN(box); }
  std::string MENS(const base::Mens& m) override { return ui_.MENS(m); }
  void close_window(int number) override { ui_.windows().FECHAJAN(number); }
  bool escape_pressed() override { return ui_.escape_pressed(); }
  void tone(int hertz, int ticks) override { ui_.tone(hertz, ticks); }
  base::Clock& clock() override { return ui_.clock(); }
  using base::Operator::AVISOSN;

 private:
  Ui& ui_;
};

}  // namespace kardo::ui
