// The schedule tool's work apart from process plumbing, so tests can run it
// in-process as well as end to end.
#pragma once

#include <string>
#include <vector>

namespace schedule_cli {

struct Result {
    int exitCode = 0;
    std::string out; // UTF-8
    std::string err;
};

// args excludes the program name.
Result Run(const std::vector<std::string>& args);

std::string ToUtf8(const std::wstring& text);

} // namespace schedule_cli
