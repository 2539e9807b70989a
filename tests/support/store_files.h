#pragma once
// The settings store of a test: the real store files in a folder of the test's own, with text
// values put and looked at directly.

#include <string>

#include "settings/file_registry.h"

namespace pagelark::testing {

class StoreFiles final : public FileRegistry {
  public:
    using FileRegistry::FileRegistry;
    void Put(RegRoot root, std::string_view path, std::string_view name, std::string_view text) {
        CreateKey(root, path);
        SetValue(root, path, name, RegValue{RegType::String, std::string(text)});
    }
    std::string Get(RegRoot root, std::string_view path, std::string_view name) {
        const RegRead read = QueryValue(root, path, name);
        return read.error == RegError::Success ? read.value.data : "<missing>";
    }
};

}  // namespace pagelark::testing
