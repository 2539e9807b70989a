#pragma once
// Path text on native paths: "/" separates (on Windows "\\" too), case is kept.

#include <filesystem>
#include <string>
#include <string_view>

namespace pagelark {

// Share names keep the Windows form (two backslashes, server, share): no native path has it.
bool IsUncPath(std::string_view path);
std::string ShareRoot(std::string_view path);

// Starts with a separator, or on Windows with a drive and one ("C:\\x"); "C:x" is relative to
// that drive's working folder, so not absolute.
bool IsAbsolutePath(std::string_view path);
std::string WithTrailingSeparator(std::string_view path);  // appends the native separator
std::string WithoutTrailingSeparator(std::string_view path);
// "." and ".." worked out and repeated separators merged, on the text alone (no link is read).
std::string NormalPath(std::string_view path);
std::string GetExtension(std::string_view path);
std::string StripExtension(std::string_view path);
std::string FileNamePart(std::string_view path);
std::string FolderPart(std::string_view path);
// Whether two names in one folder name the same file: on Windows case and trailing dots and
// blanks do not count.
bool SameFileName(std::string_view a, std::string_view b);

// Whether a file name ends in extension (".ini") as the system compares names: with case on
// Linux, without on Windows.
bool HasExtension(std::string_view name, std::string_view extension);

// std::filesystem reads a std::string in the ANSI code page on Windows, not as UTF-8: paths go
// to and from it through these. Text that is not UTF-8 is read as Wide() reads it.
std::filesystem::path FsPath(std::string_view utf8);
std::string Utf8Path(const std::filesystem::path& path);

}  // namespace pagelark
