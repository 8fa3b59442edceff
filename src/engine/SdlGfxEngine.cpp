#include "engine/ComponentError.h"
#include "engine/Components.h"

namespace pikora {

std::shared_ptr<GfxEngine> MakeSdlGfxEngine() { RaiseError("SdlGfxEngine", "not available yet"); }

}  // namespace pikora
