#pragma once
// The check a pack archive passes before the game lists it: everything a run of the pack will
// read must be there and readable. Reads the archive only; writes nothing anywhere.
#include <string>
#include <string_view>
#include <vector>

namespace pikora {

struct PackProblem {
  std::string Entry;  // the entry as the game asks for it ("picinfo.ini", "3x.jpg"); "" = the archive
  int Line = 0;       // the line in an INI entry, from 1; 0 when no line can be named
  std::string Text;   // what is wrong
};

// The problems that keep the pack at ArchivePath from being played, at most MaxPackProblems;
// an empty list means every level can be played. The file name counts too (packs/ holds
// plain names only). Every entry the game reads is unpacked whole; of the level pictures the
// game checks only the headers (format and size) to keep the start fast, while DecodePictures
// decodes each one completely.
std::vector<PackProblem> CheckPack(const std::string& ArchivePath, bool DecodePictures = false);
// The same for an archive held in memory, FileName being its name in packs/.
std::vector<PackProblem> CheckPackData(std::string_view Bytes, const std::string& FileName,
                                       bool DecodePictures = false);
constexpr size_t MaxPackProblems = 50;

// One problem on one line: "picinfo.ini, line 12: [2] 3Top "abc" is not a number".
std::string DescribePackProblem(const PackProblem& Problem);
// Text from a pack made fit for one line of a message: control characters become spaces,
// and more than Max bytes are cut with "...".
std::string PrintableText(std::string_view Text, size_t Max = 80);

}  // namespace pikora
