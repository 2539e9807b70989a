// The help the program really carries: every file of the table, written byte for byte, and
// pages whose links and pictures all lead to help files or the product site.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <regex>
#include <set>

#include "help/help_paths.h"
#include "help/qt_help_resources.h"
#include "model/product.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

std::string NameOf(const HelpFile& file) {
    const std::string unquoted = file.path.substr(1, file.path.size() - 2);
    return unquoted.substr(unquoted.rfind('/') + 1);
}

TEST(ShippedHelpTest, EveryFileIsWrittenByteForByteAndEveryLinkAndPictureLeadsToAHelpFile) {
    const QtHelpResources resources;
    const testing::TempFolder temp;
    const std::string dir = temp.path() + "/with blank/";
    std::filesystem::create_directory(dir);
    const auto table = BuildHelpFileTable();
    ASSERT_TRUE(ExtractHelpFiles(table, resources, dir));
    std::set<std::string> names, unused;
    for (const HelpFile& file : table) {
        const auto bytes = resources.Load(file.id, file.type);
        ASSERT_TRUE(bytes) << file.id << " " << file.type;
        names.insert(NameOf(file));
        const bool page = file.type == kHtmlResource;
        if (!page) unused.insert(NameOf(file));
        EXPECT_TRUE(bytes->starts_with(page ? "<!DOCTYPE html>" : "GIF89a")) << NameOf(file);
        // A picture a browser could not decode would show broken.
        EXPECT_TRUE(page || !QImage::fromData(QByteArray::fromStdString(*bytes), "GIF").isNull())
            << NameOf(file);
        EXPECT_EQ(testing::TempFolder::Read(dir + "Pagelark/" + NameOf(file)), *bytes)
            << NameOf(file);
    }
    const std::regex reference(R"((href|src)\s*=\s*["']([^"']*)["']|(url)\(([^)]*)\))",
                               std::regex::icase);
    for (const HelpFile& file : table) {
        if (file.type != kHtmlResource) continue;
        const std::string page = *resources.Load(file.id, file.type);
        for (std::sregex_iterator at(page.begin(), page.end(), reference), end; at != end; ++at) {
            const std::string target = (*at)[2].matched ? (*at)[2] : (*at)[4];
            if (target.starts_with(kProductWebAddress) && (*at)[1] == "href") continue;
            const std::string name = target.substr(0, target.find('#'));
            EXPECT_TRUE(name.empty() ? target.size() > 1 : names.contains(name))
                << NameOf(file) << " refers to " << target;
            unused.erase(name);
        }
    }
    EXPECT_TRUE(unused.empty()) << "no page shows " << *unused.begin();
}

}  // namespace
}  // namespace pagelark
