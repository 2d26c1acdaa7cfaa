// The logical lines of a GLSL source, as its preprocessor sees them: line
// continuations removed first (as Mesa's preprocessor does in every version),
// then each comment replaced by one space. Plain text processing; no GL.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvath {

struct LogicalLine {
    std::string text;
    long firstLine = 0;      // the physical line it starts on, counting from 1
    bool spansLines = false; // a continuation or a block comment joined lines
};

class LogicalLines {
public:
    // Newlines are "\r\n", "\n\r", "\r" or "\n".
    explicit LogicalLines(std::string_view source);

    // The next logical line; false after the last.
    bool next(LogicalLine& line);

private:
    std::string joined;                // the source, continuations removed, newlines as '\n'
    std::vector<size_t> continuations; // where in joined each removed one stood
    size_t at = 0;
    size_t nextContinuation = 0;
    long physicalLine = 1;
};

} // namespace korvath
