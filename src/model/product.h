#pragma once
// Names and addresses the program is known by.

#include <string_view>

namespace pagelark {

inline constexpr std::string_view kProductName = "Pagelark";
// The program's version, shown as "major.minor.revision"; kept equal to the project version.
inline constexpr int kVersionMajor = 0;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 0;
inline constexpr std::string_view kPresentationExtension = "TSO";
// The section of a presentation file that holds its options and machine settings.
inline constexpr std::string_view kOptionsSection = "Tessaro";

}  // namespace pagelark
