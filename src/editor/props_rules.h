#pragma once
// The properties dialog's rules: which entry it edits, what it shows, and how it keeps.

#include <string>

#include "editor/option_fields.h"
#include "platform/result.h"

namespace pagelark {

enum class PropsMode { Page = 1, Include = 2, Exclude = 3, ToolRun = 4, ToolNav = 5, UrlBox = 6 };

struct PropsVisibility {
    bool address = false;   // txtURL, lblURL, cmdBrowseFile
    bool time = false;      // chkDefaultTime, lblTime, txtTime, updTime
    bool visible = false;   // chkVisible
    bool picture = false;   // lblFileName, txtFileName, cmdBrowse, lblHelpTip, txtHelpTip
    bool schedule = false;  // lblDays, txtDays, lblFrom, txtFrom, lblTo, txtTo
    bool scroll = false;    // lblScroll, txtScroll
    bool zoom = false;      // lblZoom, txtZoom, lblZoomUnit
};
PropsVisibility VisibleControls(PropsMode mode);

// The dialog's controls as plain values.
struct PropsFields {
    std::string url;
    bool useDefaultTime = false;
    std::string time;
    bool visible = false;
    std::string fileName;
    std::string helpTip;
    // When the page is due, as stored (model/page_schedule.h).
    std::string days;
    std::string from;
    std::string to;
    // How the page moves on show, as stored (model/page_scroll.h).
    std::string scroll;
    std::string zoom;  // percent; empty: the presentation's
};

// index: the 1-based entry for pages, include and exclude; the 0-based button for the bars;
// unused for the address box. An index outside its list gives empty fields.
PropsFields FillProps(PropsMode mode, const WorkingLists& lists, int index);
// The frame caption: "Page properties", "Button properties: Back", ...
std::string PropsCaption(PropsMode mode, const WorkingLists& lists, int index);
// Fails, with the message naming the field, when the dialog cannot keep a field as shown.
Result<> CheckProps(PropsMode mode, const PropsFields& fields);
// Writes fields that passed CheckProps back into the entry. A time that is no number, possible
// only on the default time, leaves the entry's own time as it was.
void KeepProps(PropsMode mode, const PropsFields& fields, WorkingLists& lists, int index);

}  // namespace pagelark
