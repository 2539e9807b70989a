#include "platform/linux/file_registry.h"

#include <gtest/gtest.h>

#include "platform/registry_store.h"
#include "support/temp_registry.h"

namespace pagelark::testing {
namespace {

using namespace std::string_literals;

class FileRegistryTest : public ::testing::Test, public TempRegistry {
  protected:
    std::string Get(RegRoot root, std::string_view path, std::string_view name) {
        auto read = store->QueryValue(root, path, name);
        last = read.error;
        return read.value.data;
    }
    bool Exists(RegRoot root, std::string_view path) {
        return store->OpenKey(root, path) == RegError::Success;
    }
    bool Created(RegRoot root, std::string_view path) {
        last = store->CreateKey(root, path);
        return last == RegError::Success;
    }
    // As the registry layer sets text: the key made first, empty text removing the value.
    bool Set(RegRoot root, std::string_view path, std::string_view name, std::string_view text) {
        if (!Created(root, path)) return false;
        last = text.empty()
                   ? store->DeleteValue(root, path, name)
                   : store->SetValue(root, path, name, {RegType::String, std::string(text)});
        return last == RegError::Success;
    }
    bool Holds(const std::string& file, std::string_view text) {
        return TempFolder::Read(folder + "/" + file).find(text) != std::string::npos;
    }

    RegError last = RegError::Success;
};

TEST_F(FileRegistryTest, PathsMatchWithoutCaseParentsExistImplicitlyAndBadNamesAreRefused) {
    temp.Write("registry/machine.reg",
               "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Vendor\\App]\r\n\"V\"=\"1\"\r\n");
    EXPECT_EQ(Get(kMachine, "software\\\\VENDOR\\app\\", "v"), "1");
    EXPECT_FALSE(Exists(kMachine, "Software\\Ven"));
    EXPECT_FALSE(Exists(kUser, "Software\\Vendor"));
    // Opening or creating an implicit parent stores nothing; setting a value in it does.
    const std::string before = TempFolder::Read(folder + "/machine.reg");
    EXPECT_TRUE(Created(kMachine, "Software\\Vendor"));
    EXPECT_EQ(TempFolder::Read(folder + "/machine.reg"), before);
    EXPECT_TRUE(Set(kMachine, "Software\\Vendor", "W", "2"));
    EXPECT_TRUE(Holds("machine.reg", "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n\"W\"=\"2\"\r\n"));
    // Names the text file could not hold are refused, not mangled.
    EXPECT_FALSE(Set(kMachine, "Software\\Vendor", "two\nlines", "x"));
    EXPECT_EQ(last, RegError::InvalidName);
    EXPECT_FALSE(Created(kMachine, "A\0B"s));
    EXPECT_EQ(last, RegError::InvalidName);
}

TEST_F(FileRegistryTest, ClassesRootMergesTheUserOverTheMachine) {
    temp.Write("registry/machine.reg",
               "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\.show]\r\n@=\"machine\"\r\n"
               "\"Only\"=\"machine\"\r\n");
    temp.Write("registry/user.reg",
               "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\.show]\r\n@=\"user\"\r\n");
    EXPECT_EQ(Get(kClasses, ".show", ""), "user");
    EXPECT_EQ(Get(kClasses, ".show", "Only"), "machine");
    // Values go where the user has the key; new keys go to the machine.
    EXPECT_TRUE(Set(kClasses, ".show", "Added", "1"));
    EXPECT_TRUE(Holds("user.reg", "\"Added\"=\"1\""));
    EXPECT_TRUE(Set(kClasses, "Pagelark.Show", "", "Show"));
    EXPECT_TRUE(Holds("machine.reg",
                      "[HKEY_LOCAL_MACHINE\\Software\\Classes\\Pagelark.Show]\r\n@=\"Show\""));
    // Removing the user's value uncovers the machine's.
    EXPECT_TRUE(Set(kClasses, ".show", "", ""));
    EXPECT_EQ(Get(kClasses, ".show", ""), "machine");
}

}  // namespace
}  // namespace pagelark::testing
