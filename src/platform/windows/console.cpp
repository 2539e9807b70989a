#include "platform/console.h"

#include "platform/windows/wide.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

namespace pagelark {

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i)
        arguments.push_back(Narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

void BinaryStandardStreams() {
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

}  // namespace pagelark
