#pragma once
// Start-up, the frame loop and shutdown.
#include <cstdint>
#include <string>

namespace pikora {

// The program: start-up, the frame loop, shutdown. Returns the process's exit status
// (non-zero after a run-time error).
int Main();

void AdvanceFrameCounter();
void AdvanceLogoFade();

// The caption's product name and version.
std::string ProductCaption();

// The folder of the running executable, without a trailing separator.
std::string ExecutableFolder();

}  // namespace pikora
