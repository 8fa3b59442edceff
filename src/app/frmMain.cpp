#include "app/frmMain.h"

#include "app/modDeclares.h"

namespace pikora::frmMain {

namespace {
WindowHandle Handle;
bool IsLoaded = false;
int32_t TimesClosed = 0;

// A close request from the window manager: the window stays unless Form_Unload lets it go.
bool RequestClose() {
  int16_t Cancel = 0;
  Form_Unload(Cancel);
  return Cancel == 0;
}
}  // namespace

WindowHandle* hWnd() {
  if (!IsLoaded) {
    IsLoaded = true;
    Handle.CloseRequested = RequestClose;
    Form_Load();
  }
  return &Handle;
}

void SetCaption(const std::string& Text) {
  hWnd();
  Handle.Caption = Text;
}

const std::string& Caption() { return Handle.Caption; }

void Form_Load() { GameScreen = 5; }

void Form_Unload(int16_t& Cancel) {
  if (GameRunning) {
    Cancel = 1;
    GameRunning = false;
  }
}

void Unload() {
  if (!IsLoaded) return;
  int16_t Cancel = 0;
  Form_Unload(Cancel);
  if (Cancel == 0) {
    IsLoaded = false;
    ++TimesClosed;
  }
}

bool Loaded() { return IsLoaded; }
int32_t ClosedCount() { return TimesClosed; }

void Reset() {
  Handle = {};
  IsLoaded = false;
  TimesClosed = 0;
}

}  // namespace pikora::frmMain
