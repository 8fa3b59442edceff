#include "engine/ComponentError.h"
#include "engine/Components.h"

namespace pikora {

std::shared_ptr<FileTools> MakeZipFileTools(const std::string&, GfxEngine*) { RaiseError("ZipFileTools", "not available yet"); }

}  // namespace pikora
