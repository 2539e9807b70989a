#include "support/temp_folder.h"

#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "platform/paths.h"

namespace pagelark::testing {

TempFolder::TempFolder() {
#ifdef _WIN32
    // No mkdtemp: a new name is tried until one is free.
    const auto base = std::filesystem::temp_directory_path();
    for (unsigned tries = 0; path_.empty() && tries < 1000; ++tries) {
        const auto folder = base / ("pagelark-test-" + std::to_string(::GetCurrentProcessId()) +
                                    "-" + std::to_string(tries));
        std::error_code error;
        if (std::filesystem::create_directory(folder, error)) path_ = folder.string();
    }
    if (path_.empty()) throw std::runtime_error("no temporary folder");
    while (path_.ends_with('\\'))
        path_.pop_back();
#else
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/pagelark-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = buffer.data();
#endif
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::Write(std::string_view name, std::string_view bytes) const {
    const std::string file = File(name);
    std::filesystem::create_directories(FsPath(file).parent_path());
    std::ofstream out(FsPath(file), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file);
    return file;
}

std::string TempFolder::Read(const std::string& file) {
    std::ifstream in(FsPath(file), std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

}  // namespace pagelark::testing
