#include "base/operator.h"

#include <stdexcept>

#include "base/codepage.h"

namespace kardo::base {

std::string Box::shown_caption() const {
  if (!caption.empty()) return caption;
  return mode == BOX_ERROR ? "ERRO" : "Aviso";
}

std::string Operator::AVISOSN(std::string_view text, int mode, std::string_view caption) {
  return AVISOSN(std::vector<std::string>{std::string(text)}, mode, caption);
}

std::string Operator::AVISOSN(std::vector<std::string> lines, int mode, std::string_view caption) {
  Box b;
  b.lines = std::move(lines);
  b.mode = mode;
  b.caption = std::string(caption);
  return AVISOSN(b);
}

bool Operator::ask_yes(std::vector<std::string> lines, std::string_view caption) {
  return AVISOSN(std::move(lines), BOX_YES_NO, caption) == "S";
}

void Operator::message_line(std::string_view text) {
  Mens m;
  m.text = std::string(text);
  MENS(m);
}

void Operator::BEEP_ERRO(int count) {
  for (int i = 0; i < count; ++i) {
    tone(300, 1);
    tone(499, 1);
    tone(300, 1);
    tone(499, 1);
  }
}

std::vector<std::string> ScriptedOperator::box_texts() const {
  std::vector<std::string> out;
  for (const Shown& s : shown_) {
    if (s.kind != "box") continue;
    std::string t;
    for (size_t i = 0; i < s.lines.size(); ++i) t += (i ? " / " : "") + s.lines[i];
    out.push_back(t);
  }
  return out;
}

bool ScriptedOperator::showed(std::string_view part) const {
  for (const Shown& s : shown_)
    for (const std::string& l : s.lines)
      if (l.find(part) != std::string::npos) return true;
  return false;
}

std::string ScriptedOperator::next_answer(std::string_view what) {
  if (answers_.empty()) throw std::logic_error("unscripted question: " + cp850_to_utf8(what));
  std::string a = answers_.front();
  answers_.pop_front();
  return a;
}

std::string ScriptedOperator::AVISOSN(const Box& box) {
  Shown s{"box", box.mode, box.lines, box.shown_caption(), ""};
  if (box.is_question()) s.answer = next_answer(box.lines.empty() ? "" : box.lines.front());
  else if (box.mode == BOX_PLAIN) s.answer = "N";
  shown_.push_back(s);
  return s.answer;
}

std::string ScriptedOperator::MENS(const Mens& m) {
  Shown s{"mens", m.mode, {m.text}, m.caption, ""};
  switch (m.kind()) {
    case 0:
      s.kind = "line";
      last_line_ = m.text;
      break;
    case 2:
    case 4:
      s.answer = next_answer(m.text);
      break;
    default:
      break;
  }
  shown_.push_back(s);
  return s.answer;
}

void ScriptedOperator::close_window(int number) { shown_.push_back({"close", number, {}, "", ""}); }

bool ScriptedOperator::escape_pressed() {
  ++polls_;
  return escape_after_ >= 0 && polls_ > escape_after_;
}

void ScriptedOperator::tone(int hertz, int ticks) {
  shown_.push_back({"tone", hertz, {std::to_string(ticks)}, "", ""});
}

}  // namespace kardo::base
