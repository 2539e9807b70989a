#include "editor/props_rules.h"

#include <span>
#include <utility>

#include "ini/stored_values.h"
#include "model/page_scroll.h"
#include "platform/text.h"
#include "settings/setting_table.h"

namespace pagelark {
namespace {

template <class List>
auto* EntryAt(List&& list, int index, int first) {
    const int at = index - first;
    return at >= 0 && at < static_cast<int>(list.size()) ? &list[static_cast<std::size_t>(at)]
                                                         : nullptr;
}

// The address list of modes 2 and 3, the tool bar of modes 4 and 5.
template <class Lists>
auto* AddressList(Lists& lists, PropsMode mode) {
    return mode == PropsMode::Include ? &lists.include : &lists.exclude;
}

std::span<const ToolbarButton> ButtonList(const WorkingLists& lists, PropsMode mode) {
    if (mode == PropsMode::ToolRun) return lists.buttons.ToolRunButtons;
    return lists.buttons.ToolNavButtons;
}

std::span<ToolbarButton> ButtonList(WorkingLists& lists, PropsMode mode) {
    if (mode == PropsMode::ToolRun) return lists.buttons.ToolRunButtons;
    return lists.buttons.ToolNavButtons;
}

}  // namespace

PropsVisibility VisibleControls(PropsMode mode) {
    switch (mode) {
        case PropsMode::Page:
            return {true, true, false, false, true, true, true};
        case PropsMode::Include:
        case PropsMode::Exclude:
            return {true, false, false, false};
        case PropsMode::ToolRun:
        case PropsMode::ToolNav:
            return {false, false, true, true};
        case PropsMode::UrlBox:
            return {false, false, true, false};
    }
    return {};
}

PropsFields FillProps(PropsMode mode, const WorkingLists& lists, int index) {
    PropsFields fields;
    switch (mode) {
        case PropsMode::Page:
            if (const PresentationPage* page = EntryAt(lists.pages, index, 1)) {
                fields.url = page->URL;
                fields.useDefaultTime = page->UseDefaultTime;
                fields.time = std::to_string(page->Time.count());
                fields.days = page->Days;
                fields.from = page->From;
                fields.to = page->To;
                fields.scroll = page->Scroll;
                fields.zoom = page->Zoom;
            }
            break;
        case PropsMode::Include:
        case PropsMode::Exclude:
            if (const std::string* address = EntryAt(*AddressList(lists, mode), index, 1))
                fields.url = *address;
            break;
        case PropsMode::ToolRun:
        case PropsMode::ToolNav:
            if (const ToolbarButton* button = EntryAt(ButtonList(lists, mode), index, 0)) {
                fields.visible = button->Visible;
                fields.fileName = button->Icon;
                fields.helpTip = button->HelpTip;
            }
            break;
        case PropsMode::UrlBox:
            fields.visible = lists.buttons.ToolNavUrlVisible;
            break;
    }
    return fields;
}

std::string PropsCaption(PropsMode mode, const WorkingLists& lists, int index) {
    switch (mode) {
        case PropsMode::Page:
            return "Page properties";
        case PropsMode::Include:
            return "Include properties";
        case PropsMode::Exclude:
            return "Exclude properties";
        case PropsMode::ToolRun:
        case PropsMode::ToolNav: {
            const ToolbarButton* button = EntryAt(ButtonList(lists, mode), index, 0);
            return "Button properties: " + (button ? button->Name : std::string());
        }
        case PropsMode::UrlBox:
            return "Text box properties: URL";
    }
    return {};
}

Result<> CheckProps(PropsMode mode, const PropsFields& fields) {
    if (mode != PropsMode::Page) return Done();
    const auto seconds = WholeNumber(fields.time);
    // 0 holds the page on show until a command moves the show on.
    if (!fields.useDefaultTime && !(seconds && *seconds >= 0))
        return Fail("Time: enter a whole number of seconds, 0 or more.");
    const std::pair<std::string_view, const std::string&> times[] = {
        {"Days", fields.days}, {"From", fields.from}, {"To", fields.to}};
    for (const auto& [setting, text] : times) {
        if (auto problem = TimeFieldProblem(setting, setting, text)) return Fail(*problem);
    }
    if (!Acceptable(*FindSetting("Scroll"), fields.scroll))
        return Fail("Scroll cannot be \"" + std::string(TrimBlanks(fields.scroll)) +
                    "\": enter No, Yes (to reach the foot as the time ends) or a speed of " +
                    std::to_string(kSlowestScroll) + " to " + std::to_string(kFastestScroll) +
                    " pixels a second.");
    if (!TrimBlanks(fields.zoom).empty() && !ParseZoom(fields.zoom))
        return Fail("Zoom: enter a percentage from 25 to 500, or nothing for the presentation's.");
    return Done();
}

void KeepProps(PropsMode mode, const PropsFields& fields, WorkingLists& lists, int index) {
    switch (mode) {
        case PropsMode::Page:
            if (PresentationPage* page = EntryAt(lists.pages, index, 1)) {
                page->URL = fields.url;
                page->UseDefaultTime = fields.useDefaultTime;
                if (const auto seconds = WholeNumber(fields.time))
                    page->Time = std::chrono::seconds{*seconds};
                page->Days = TrimBlanks(fields.days);
                page->From = TrimBlanks(fields.from);
                page->To = TrimBlanks(fields.to);
                page->Scroll = TrimBlanks(fields.scroll);
                page->Zoom = TrimBlanks(fields.zoom);
            }
            break;
        case PropsMode::Include:
        case PropsMode::Exclude:
            if (std::string* address = EntryAt(*AddressList(lists, mode), index, 1))
                *address = fields.url;
            break;
        case PropsMode::ToolRun:
        case PropsMode::ToolNav:
            // The name is the slot's own word and never edited.
            if (ToolbarButton* button = EntryAt(ButtonList(lists, mode), index, 0)) {
                button->Visible = fields.visible;
                button->Icon = fields.fileName;
                button->HelpTip = fields.helpTip;
            }
            break;
        case PropsMode::UrlBox:
            lists.buttons.ToolNavUrlVisible = fields.visible;
            break;
    }
}

}  // namespace pagelark
