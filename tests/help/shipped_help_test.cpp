// The help the program really carries: every file of the table, written byte for byte, and
// pages whose links and pictures all lead to help files or the product site, each picture
// with its own size given so the page is laid out once, before the pictures arrive.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "help/qt_help_resources.h"
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
    std::map<std::string, QSize, std::less<>> sizes;
    for (const HelpFile& file : table) {
        const auto bytes = resources.Load(file.id, file.type);
        ASSERT_TRUE(bytes) << file.id << " " << file.type;
        names.insert(NameOf(file));
        const bool page = file.type == kHtmlResource;
        if (!page) unused.insert(NameOf(file));
        EXPECT_TRUE(bytes->starts_with(page ? "<!DOCTYPE html>" : "GIF89a")) << NameOf(file);
        // A picture a browser could not decode would show broken.
        const QImage picture = QImage::fromData(QByteArray::fromStdString(*bytes), "GIF");
        EXPECT_TRUE(page || !picture.isNull()) << NameOf(file);
        sizes[NameOf(file)] = picture.size();
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
            const std::string name = target.substr(0, target.find('#'));
            EXPECT_TRUE(name.empty() ? target.size() > 1 : names.contains(name))
                << NameOf(file) << " refers to " << target;
            unused.erase(name);
        }
        const std::regex tag("<img[^>]*>"), width(R"re(width="(\d+)")re"),
            height(R"re(height="(\d+)")re"), source(R"re(src="([^"]*)")re");
        for (std::sregex_iterator at(page.begin(), page.end(), tag), end; at != end; ++at) {
            const std::string img = at->str();
            std::smatch w, h, src;
            ASSERT_TRUE(std::regex_search(img, w, width) && std::regex_search(img, h, height) &&
                        std::regex_search(img, src, source))
                << NameOf(file) << ": a picture without its size: " << img;
            EXPECT_EQ(QSize(std::stoi(w[1]), std::stoi(h[1])), sizes[src[1].str()])
                << NameOf(file) << " " << img;
        }
    }
    EXPECT_TRUE(unused.empty()) << "no page shows " << *unused.begin();
}

}  // namespace
}  // namespace pagelark
