#pragma once

namespace qlx::runtime {

// What happens when the language runtime cannot go on (memory exhausted, an
// internal error), besides ending the process: a line for the run's log, and
// the stop box only where someone is there to close it; an unattended run
// must end, not wait for a click.
class FailureReport {
 public:
  using LineWriter = void (*)(const char* what);

  constexpr FailureReport() = default;

  void configure(bool showBox, LineWriter writeLine) {
    showBox_ = showBox;
    writeLine_ = writeLine;
  }

  // Writes the line once: a failure while writing it (out of memory again)
  // comes back here and must not write again. True: show the box.
  bool report(const char* what) {
    if (!reporting_ && writeLine_ != nullptr) {
      reporting_ = true;
      writeLine_(what);
    }
    return showBox_;
  }

 private:
  bool showBox_ = true;
  bool reporting_ = false;
  LineWriter writeLine_ = nullptr;
};

}  // namespace qlx::runtime
