#include "app/modMain.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>

#include "app/Input.h"
#include "app/SideMenu.h"
#include "app/frmMain.h"
#include "app/modDeclares.h"
#include "app/modRender.h"
#include "engine/ComponentError.h"
#include "resources/Options.h"
#include "resources/Packs.h"
#include "resources/modLoad.h"

namespace pikora {

std::string ProductCaption() {
  return "Pikora v" + std::to_string(PIKORA_VERSION_MAJOR) + "." + std::to_string(PIKORA_VERSION_MINOR) + "." +
         std::to_string(PIKORA_VERSION_PATCH);
}

std::string ExecutableFolder() {
  std::error_code Error;
  const auto Exe = std::filesystem::read_symlink("/proc/self/exe", Error);
  if (Error) return std::filesystem::current_path().string();
  return Exe.parent_path().string();
}

void AdvanceFrameCounter() { ++FrameCounter; }

void AdvanceLogoFade() {
  if (LogoFade != 100.0f) LogoFade += 0.5f;
}

namespace {

void StartUp() {
  Gfx = Factory.MakeGfx();
  Gfx->SetDebugMode(false);
  Files = Factory.MakeFiles(AppPath, Gfx.get());
  Music = Factory.MakeMusic(AppPath);

  LoadOptions();
  WindowHandle* Window = frmMain::hWnd();
  Gfx->Initialise(Window, AppPath, 800.0f, 600.0f, !GameOptions.Screen, 0, 0, 0, 0);
  Files->Configure(50);
  frmMain::SetCaption(ProductCaption());
  LoadTextures();
  LoadFonts();
  LoadSounds();
  BuildMenu();
  Gfx->SetActive(true);
  GameRunning = true;
}

void FrameLoop() {
  bool PacksScanned = false;
  while (GameRunning) {
    PollKeyboard();
    PollMouse();
    AdvanceFrameCounter();
    RenderFrame();
    MusicUpkeep();
    if (!PacksScanned) {
      FindPacks();
      PacksScanned = true;
    }
  }
}

void ShutDown() {
  Gfx->SetActive(false);
  StorePackScores();
  Gfx->Shutdown();
  Gfx.reset();
  Files.reset();
  Music.reset();
  ReleaseTextures();
  ReleaseLevelPictures();
  frmMain::Unload();
}

}  // namespace

int Main() {
  // Two copies in one folder would share the working files and overwrite each other's tables.
  if (AppPath.empty()) AppPath = ExecutableFolder();
  const int Lock = ::open(AppPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Lock >= 0 && ::flock(Lock, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    ::close(Lock);
    ReportRunTimeError(ComponentError("Main", "Pikora is already running in the game folder " + AppPath +
                                                  "; this copy ends without touching it"));
    return 1;
  }
  int Status = 1;
  try {
    StartUp();
    FrameLoop();
    ShutDown();
    Status = 0;
  } catch (const ComponentError& Error) {
    ReportRunTimeError(Error);
  } catch (const std::exception& Error) {
    ReportRunTimeError(ComponentError("Main", Error.what()));
  } catch (...) {
    ReportRunTimeError(ComponentError("Main", "an unknown error"));
  }
  if (Lock >= 0) ::close(Lock);
  return Status;
}

}  // namespace pikora
