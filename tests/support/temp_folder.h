#pragma once
// A private folder for one test, removed with everything in it when the test ends.

#include <string>
#include <string_view>

namespace pagelark::testing {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }  // no trailing separator
    std::string File(std::string_view name) const {
#ifdef _WIN32
        return path_ + "\\" + std::string(name);
#else
        return path_ + "/" + std::string(name);
#endif
    }

    // Writes bytes to a file in the folder, making its folders first, and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;
    // The bytes of a file, or "<missing>" when it cannot be read.
    static std::string Read(const std::string& file);

  private:
    std::string path_;
};

// The permission bits of a file or folder, or 0 when there is none.
unsigned ModeOf(const std::string& path);

}  // namespace pagelark::testing
