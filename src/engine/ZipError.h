#pragma once
// libzip's words for an archive that could not be opened.
#include <string>

namespace pikora {

std::string ZipOpenError(int Code);

}  // namespace pikora
