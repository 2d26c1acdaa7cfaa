// Continuations are removed in one pass over the source; the lines are then
// cut from that text, so a comment closed across a continuation (`*\`,
// newline, `/`) ends where the driver ends it.
#include "shading/source/SourceLines.h"

namespace korvath {

namespace {

// The length of the newline at source[at], 0 if there is none.
size_t newlineLength(std::string_view source, size_t at) {
    if (at >= source.size() || (source[at] != '\n' && source[at] != '\r')) {
        return 0;
    }
    const bool pair = at + 1 < source.size() &&
                      (source[at + 1] == '\n' || source[at + 1] == '\r') &&
                      source[at + 1] != source[at];
    return pair ? 2 : 1;
}

} // namespace

LogicalLines::LogicalLines(std::string_view source) {
    joined.reserve(source.size());
    for (size_t i = 0; i < source.size();) {
        const size_t newline = newlineLength(source, i);
        if (newline != 0) {
            joined += '\n';
            i += newline;
        } else if (source[i] == '\\' && newlineLength(source, i + 1) != 0) {
            continuations.push_back(joined.size());
            i += 1 + newlineLength(source, i + 1);
        } else {
            joined += source[i];
            ++i;
        }
    }
}

bool LogicalLines::next(LogicalLine& line) {
    line.text.clear();
    if (at >= joined.size()) {
        return false;
    }
    line.firstLine = physicalLine;
    long newlines = 0;
    bool lineComment = false;
    bool blockComment = false;
    while (at < joined.size()) {
        const char c = joined[at];
        if (c == '\n' && !blockComment) {
            ++at;
            break;
        }
        if (blockComment) {
            newlines += c == '\n';
            if (joined.compare(at, 2, "*/") == 0) {
                blockComment = false;
                line.text += ' ';
                ++at;
            }
        } else if (!lineComment) {
            if (joined.compare(at, 2, "//") == 0) {
                lineComment = true;
                line.text += ' ';
            } else if (joined.compare(at, 2, "/*") == 0) {
                blockComment = true;
                ++at;
            } else {
                line.text += c;
            }
        }
        ++at;
    }
    long joins = 0;
    while (nextContinuation < continuations.size() && continuations[nextContinuation] < at) {
        ++joins;
        ++nextContinuation;
    }
    line.spansLines = newlines + joins > 0;
    physicalLine += 1 + newlines + joins;
    return true;
}

} // namespace korvath
