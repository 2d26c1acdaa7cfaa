// Reading a program's source file with a size limit: an oversized file is
// refused before it is read, scanned or compiled.
#pragma once

#include <cstddef>
#include <string>

namespace korvath::shading {

// Far beyond any hand-written program; keeps scanning and compiling bounded.
constexpr std::size_t kSourceSizeLimit = std::size_t{1} << 20;

// Reads the regular file at path into text, at most kSourceSizeLimit bytes. On
// failure returns false and says why in problem ("cannot read the file: No such
// file or directory", "source is 2000000 bytes, the limit is 1048576").
bool readSourceFile(const std::string& path, std::string* text, std::string* problem);

} // namespace korvath::shading
