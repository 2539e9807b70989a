#include "shell/default_browser.h"

#include "platform/desktop_defaults.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace pagelark {

namespace {

constexpr int kMaxFields = 10;

// Fields separated by single blanks outside double quotes; the quotes stay, and two blanks
// in a row give an empty field.
std::vector<std::string> SplitFields(const std::string& command) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char c : command) {
        if (c == '"') quoted = !quoted;
        if (c == ' ' && !quoted) {
            fields.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    // The command counts as ending with a blank: what follows the last blank is a field.
    if (!command.empty() && command.back() != ' ') fields.push_back(std::move(field));
    return fields;
}

// A leading quote goes, and then a trailing one.
std::string Unquoted(std::string field) {
    if (!field.starts_with('"')) return field;
    field.erase(0, 1);
    if (field.ends_with('"')) field.pop_back();
    return field;
}

}  // namespace

std::optional<ShellCommand> DefaultBrowserCommand(std::string_view commandLine,
                                                  std::string_view document) {
    const std::string command(commandLine);
    if (command.empty()) return std::nullopt;

    const std::vector<std::string> fields = SplitFields(command);
    ShellCommand result;
    result.program = Unquoted(fields.empty() ? std::string() : fields[0]);
    result.document = std::string(document);
    // Each further field goes in front of those gathered before it.
    for (std::size_t k = 1; k < fields.size() && k < kMaxFields; ++k) {
        if (fields[k].empty()) break;
        std::string option = Unquoted(fields[k]);
        if (option != "%1") result.options.insert(result.options.begin(), std::move(option));
    }
    result.directory = FolderPart(result.program);
    return result;
}

bool OpenInDefaultBrowser(Shell& shell, std::string_view document) {
    const auto command = DefaultBrowserCommand(DefaultHtmlCommand(), document);
    return command && shell.Open(*command);
}

}  // namespace pagelark
