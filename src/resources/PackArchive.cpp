#include "resources/PackArchive.h"

#include <zip.h>

#include "engine/ComponentError.h"

namespace pikora {

std::set<std::string> PackEntryNames(const std::string& ArchivePath) {
  int Code = 0;
  zip_t* Zip = zip_open(ArchivePath.c_str(), ZIP_RDONLY, &Code);
  if (!Zip) {
    zip_error_t Error;
    zip_error_init_with_code(&Error, Code);
    const std::string Cause = zip_error_strerror(&Error);
    zip_error_fini(&Error);
    RaiseError("OpenArchive", "\"" + ArchivePath + "\": " + Cause);
  }
  std::set<std::string> Names;
  const zip_int64_t Count = zip_get_num_entries(Zip, 0);
  for (zip_int64_t I = 0; I < Count; ++I)
    if (const char* Name = zip_get_name(Zip, static_cast<zip_uint64_t>(I), 0)) Names.insert(Name);
  zip_discard(Zip);
  return Names;
}

}  // namespace pikora
