#include "settings/registry.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/temp_registry.h"

namespace pagelark::testing {
namespace {

using namespace std::string_literals;

// The registry layer over a file registry.
TEST(RegistryTest, ValuesReadBackByTypeWholeAtAnyLength) {
    TempRegistry store;
    std::optional<Registry> reg(*store.store);
    const std::string text(1023, 's'), bytes(2048, 'F');
    const struct {
        std::string name, text;
        RegType type;
        std::string read;
    } rows[] = {
        {"sz", "text", RegType::String, "text"},  // stored without its terminating zero
        {"cut", "cut\0here"s, RegType::String, "cut"},
        {"expand", "%P%\0"s, RegType::ExpandString, "%P%\0"s},
        {"dword", "1,2C", RegType::Dword, "&h0000012C"},  // 300, most significant digit first
        {"binary", "01 ab,FF", RegType::Binary, "&h01ABFF"},
        {"over", text + text, RegType::String, text + text},
        {"overb", bytes + "00", RegType::Binary, "&h" + bytes + "00"},
    };
    for (const auto& row : rows)
        EXPECT_TRUE(reg->SetValue(kMachine, "Software\\Pagelark", row.name, row.text, row.type))
            << row.name;
    EXPECT_NE(TempFolder::Read(store.folder + "/machine.reg")
                  .find("\"dword\"=dword:0000012c\r\n\"binary\"=hex:01,ab,ff\r\n"),
              std::string::npos);
    EXPECT_TRUE(reg->CreateKey(kMachine, "Software\\Pagelark\\Empty", RegAccess::AllAccess));
    // A new session reads everything back from the file.
    store.store.emplace(store.folder);
    reg.emplace(*store.store);
    EXPECT_TRUE(reg->KeyExists(kMachine, "Software\\Pagelark\\Empty"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(reg->QueryValue(kMachine, "Software\\Pagelark", row.name), row.read);
        EXPECT_EQ(reg->LastRegError(), RegError::Success);
    }
}

}  // namespace
}  // namespace pagelark::testing
