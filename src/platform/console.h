#pragma once
// A command-line tool's side of the process: its arguments and its standard streams.

#include <string>
#include <vector>

namespace pagelark {

// The arguments after the program's name, as UTF-8: Windows hands argv over in the ANSI code
// page, so there they are read from the UTF-16 command line.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard output and error carry the bytes written as they are: Windows' C library would
// otherwise write each line end as CR LF.
void BinaryStandardStreams();

}  // namespace pagelark
