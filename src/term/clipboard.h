// The system clipboard of a terminal program. Copying goes every way that may reach the
// operator's desktop: an OSC 52 request to the terminal (honoured by most terminal
// emulators and by tmux), and `wl-copy` or `xclip` when a graphical session is there to
// receive it. Pasting reads `wl-paste` or `xclip` when present; otherwise, and whenever
// those fail, the clipboard is the program's own copy of what it last copied.
// Text crosses the boundary in UTF-8; inside it is code page 850.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kardo::term {

class SystemClipboard {
 public:
  // `write_terminal` sends raw bytes to the terminal (for the OSC 52 request); may be empty.
  explicit SystemClipboard(std::function<void(std::string_view)> write_terminal = {});
  void set(std::string_view cp850);
  std::string get();

  // The OSC 52 request that puts `utf8` on the clipboard.
  static std::string osc52(std::string_view utf8);

 private:
  std::function<void(std::string_view)> write_terminal_;
  std::string own_;
};

}  // namespace kardo::term
