#pragma once
// The golden files in tests/golden: expected output kept as data beside the inputs that give it.
// PAGELARK_UPDATE_GOLDEN=1 writes the actual output over them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"

namespace pagelark::testing {

inline std::string GoldenFolder() {
    const char* root = std::getenv("PAGELARK_TEST_SOURCE_DIR");
    return std::string(root != nullptr ? root : ".") + "/tests/golden";
}

inline void CompareGolden(const std::filesystem::path& expectedFile, const std::string& actual) {
    if (std::getenv("PAGELARK_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(expectedFile, std::ios::binary) << actual;
        return;
    }
    // On a difference the test prints both escaped, so a wrong byte or line end shows.
    EXPECT_EQ(TempFolder::Read(expectedFile.string()), actual) << expectedFile.string();
}

}  // namespace pagelark::testing
