// Both INI readers and the line editor that rewrites options.ini and hscore.ini.
#include <string>

#include "engine/FileTools.h"
#include "engine/IniText.h"
#include "resources/modINI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string Bytes(reinterpret_cast<const char*>(Data), Size);
  const pikora::IniContents Contents = pikora::ParseIniContents(Bytes);
  std::string Value;
  pikora::FindIniValue(Contents, "1", "1Left", Value);
  pikora::IniLine(Contents, "General", "NumOfLevels");
  pikora::IniFileValue(Bytes, "General", "PackInfo");
  const std::string Text = pikora::ini::DecodeFileText(Bytes);
  const std::string Edited = pikora::ini::SetValue(Text, "Options", "Music", pikora::ini::OneLine(Bytes.substr(0, 64)));
  pikora::IniFileValue(Edited, "Options", "Music");
  return 0;
}
