#pragma once
// The entry names of a pack archive, for the check made when the packs are found.
// FileTools extracts and rewrites the archives but cannot list them.
#include <set>
#include <string>

namespace pikora {

// Throws ComponentError when the file is no readable ZIP archive.
std::set<std::string> PackEntryNames(const std::string& ArchivePath);

}  // namespace pikora
