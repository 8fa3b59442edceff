#pragma once
#include <stdexcept>
#include <string>

namespace pikora {

// A component call that failed. Nothing in the game catches it: Main reports it and
// the process ends with a non-zero status, without the shutdown sequence.
struct ComponentError : std::runtime_error {
  ComponentError(const std::string& Operation, const std::string& Cause)
      : std::runtime_error(Operation + ": " + Cause), Operation(Operation), Cause(Cause) {}
  std::string Operation;
  std::string Cause;
};

[[noreturn]] inline void RaiseError(const std::string& Operation, const std::string& Cause) {
  throw ComponentError(Operation, Cause);
}

// The run-time error report: a stderr line and, where a display exists, a message box.
void ReportRunTimeError(const ComponentError& Error);

// Tests and headless runs switch the message box off.
extern bool MessageBoxesEnabled;

}  // namespace pikora
