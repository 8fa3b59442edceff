// Allocations that system libraries keep for the life of the process (font and driver
// caches); LeakSanitizer would otherwise report them at exit of every test program.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n"
         "leak:libSDL2\n"
         "leak:libX11\n"
         "leak:libdbus\n"
         "leak:libasound\n"
         "leak:libpulse\n"
         "leak:libGLX\n"
         "leak:libEGL\n"
         "leak:libEGL_mesa\n"
         "leak:libglapi\n"
         "leak:swrast_dri\n"
         "leak:libLLVM\n";
}
