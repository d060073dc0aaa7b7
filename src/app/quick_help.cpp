#include "app/quick_help.h"

#include "app/app_texts.h"

namespace kindrel {

namespace {

std::vector<QuickHelpTopic> MakeTopics() {
    return {
        {1, "Welcome to Kindrel Self-Viewing GEDCOM",
         "Kindrel is an incredible tool for analyzing your family information.  This file "
         "carries a whole genealogy inside it: move through the people with the scroll bar at "
         "the top and pick a tab to see them from another side.",
         "Welcome to Kindrel|100;Ordering Kindrel|120;Uninstalling Kindrel|130;Quick Help|140;"
         "Main Screen|200"},
        {2, "General Tab",
         "General Tab displays general information, submitter and file details about the "
         "genealogy file.  The left grid counts the records, the right grid lists the file's "
         "header and the one below it the person who submitted the file.",
         "Tabs Overview|999;General Tab|1000"},
        {3, "Individual Tab",
         "The Individual Tab displays detailed information about the Active Individual.  Every "
         "name, event, parent, spouse and child is one row; double-click a person's row to move "
         "to that person.",
         "Tabs Overview|999;Individual Tab|1100;Moving between individuals|300"},
        {4, "Family Tab",
         "The Family Tab displays the family information of the Active Individual.  It shows "
         "the couple, both sets of parents and the children of the current marriage.",
         "Tabs Overview|999;Family Tab|1200"},
        {5, "Pedigree Tab",
         "This Pedigree Tab displays 4 generations of the Active Individual.  Double-click any "
         "ancestor to make that person the Active Individual.",
         "Tabs Overview|999;Pedigree Tab|1300"},
        {6, "Descendants Tab",
         "This tab displays the descendants of the Active Individual.  Choose how many "
         "generations to show and which columns to list beside each name.",
         "Tabs Overview|999;Descendants Tab|1400"},
        {7, "List Tab",
         "This tab displays the all individuals in the genealogy file.  Click a column header "
         "to sort by it; the columns themselves can be chosen.",
         "Tabs Overview|999;List Tab|1500"},
        {8, "Highlighted Tab",
         "This tab displays the all individuals in the genealogy file that are highlighted.  "
         "The highlighting conditions are set in the Highlighting panel.",
         "Tabs Overview|999;Highlighted Tab|1600;Highlighting Panel|2200"},
        {9, "Islands Tab",
         "This tab displays the Islands found in your genealogy file.  An island is a group of "
         "people joined to each other by parent, spouse and child links.",
         "Tabs Overview|999;Islands Tab|1700;Islands Panel|2300"},
        {10, "Sources Tab",
         "This tab displays all of the general sources in your genealogy file.  Select a source "
         "to read its text and notes.",
         "Tabs Overview|999;Sources Tab|1800"},
        {11, "Internet Tab",
         "The Internet Tab allows you to search the Internet for information about an "
         "individual in your genealogy file.",
         "Tabs Overview|999;Internet Tab|1900"},
        {12, "Self-Viewing GEDCOM Feature",
         "Kindrel has the ability to create a Self-Viewing executable from a GEDCOM file.  The "
         "result is one program that shows the family to anyone who runs it.",
         "Self-Viewing GEDCOM|2000"},
        {13, "File Search Feature",
         "This left side panel is used to search your computer for individuals.  Name the "
         "folders and the file names to look for; every genealogy file found is listed and "
         "opens with a double-click.",
         "File Search|2100"},
        {14, "Highlighting Panel",
         "Kindrel allows you to easily highlight individuals in your genealogy data file with "
         "this left side panel.",
         "Highlighting Panel|2200;Highlighted Tab|1600"},
        {15, "Islands Panel",
         "This left side panel is used to view the individuals, families, notes and sources "
         "contained in any island found in the genealogy file.",
         "Islands Panel|2300;Islands Tab|1700"},
        {16, "Directory Panel",
         "The side panel to the left is used to quickly locate your genealogy files on your "
         "computer.  Double-click a GEDCOM file to open it.",
         "Directory Panel|2400"},
    };
}

std::vector<HelpPage> MakePages() {
    return {
        {0, "index.html", "Kindrel Help"},
        {100, "welcome.html", "Welcome to Kindrel"},
        {120, "ordering.html", "Ordering Kindrel"},
        {130, "uninstalling.html", "Uninstalling Kindrel"},
        {140, "quick_help.html", "Quick Help"},
        {200, "main_screen.html", "Main Screen"},
        {300, "navigation.html", "Moving between individuals"},
        {999, "tabs_overview.html", "Tabs Overview"},
        {1000, "general_tab.html", "General Tab"},
        {1100, "individual_tab.html", "Individual Tab"},
        {1200, "family_tab.html", "Family Tab"},
        {1300, "pedigree_tab.html", "Pedigree Tab"},
        {1400, "descendants_tab.html", "Descendants Tab"},
        {1500, "list_tab.html", "List Tab"},
        {1600, "highlighted_tab.html", "Highlighted Tab"},
        {1700, "islands_tab.html", "Islands Tab"},
        {1800, "sources_tab.html", "Sources Tab"},
        {1900, "internet_tab.html", "Internet Tab"},
        {2000, "self_viewing.html", "Self-Viewing GEDCOM"},
        {2100, "file_search.html", "File Search"},
        {2200, "highlighting_panel.html", "Highlighting Panel"},
        {2300, "islands_panel.html", "Islands Panel"},
        {2400, "directory_panel.html", "Directory Panel"},
        {2500, "copying.html", "Copying a Page"},
        {2600, "extracting.html", "Extracting the GEDCOM"},
        {2700, "options.html", "Options"},
    };
}

}  // namespace

const std::vector<QuickHelpTopic>& QuickHelpTopics() {
    static const std::vector<QuickHelpTopic> topics = MakeTopics();
    return topics;
}

const QuickHelpTopic* QuickHelpTopicOf(int number) {
    if (number < 1 || number > kQuickHelpTopicCount) return nullptr;
    return &QuickHelpTopics()[static_cast<size_t>(number - 1)];
}

std::vector<HelpLink> ParseHelpLinks(const std::string& links) {
    std::vector<HelpLink> result;
    size_t start = 0;
    while (start <= links.size()) {
        size_t end = links.find(';', start);
        if (end == std::string::npos) end = links.size();
        const std::string pair = links.substr(start, end - start);
        const size_t bar = pair.rfind('|');
        if (bar != std::string::npos && bar > 0) {
            int context = 0;
            if (ParseSettingInt(pair.substr(bar + 1), context))
                result.push_back({pair.substr(0, bar), context});
        }
        start = end + 1;
    }
    return result;
}

std::string QuickHelpNotice(const std::string& title) {
    return "This help dialog box for \"" + title + "\" is only displayed once.";
}

int QuickHelpTopicForTab(int tabIndex) {
    // Sender has none; General to Sources are topics 2 to 10.
    if (tabIndex <= kTabSender || tabIndex >= kTabCount) return 0;
    return tabIndex + 1;
}

int QuickHelpTopicForPanel(int panelPage) {
    switch (panelPage) {
        case kPanelFileSearch:
            return 13;
        case kPanelHighlighting:
            return 14;
        case kPanelIslands:
            return 15;
        case kPanelDirectory:
            return 16;
        default:
            return 0;
    }
}

bool QuickHelpDue(WOptions& options, int number) {
    if (!QuickHelpTopicOf(number)) return false;
    return options.ReadBool(Opt::DispInitHelp) && options.ReadBool(HelpOpt(number));
}

void QuickHelpShown(WOptions& options, int number, bool stopDisplaying) {
    if (!QuickHelpTopicOf(number)) return;
    options.WriteBool(HelpOpt(number), false);
    options.WriteBool(Opt::DispInitHelp, !stopDisplaying);
}

void ResetQuickHelp(WOptions& options) {
    for (int n = 1; n <= kQuickHelpTopicCount; ++n) options.WriteBool(HelpOpt(n), true);
    options.WriteBool(Opt::DispInitHelp, true);
}

const std::vector<HelpPage>& HelpPages() {
    static const std::vector<HelpPage> pages = MakePages();
    return pages;
}

const HelpPage* HelpPageForContext(int context) {
    for (const HelpPage& page : HelpPages())
        if (page.context == context) return &page;
    return nullptr;
}

int HelpContextForTopic(int number) {
    // A topic's own page is the first of its links whose text its title contains, else its
    // first link.
    const QuickHelpTopic* topic = QuickHelpTopicOf(number);
    if (!topic) return 0;
    const std::vector<HelpLink> links = ParseHelpLinks(topic->links);
    if (links.empty()) return 0;
    for (const HelpLink& link : links)
        if (topic->title.find(link.text) != std::string::npos) return link.context;
    return links.front().context;
}

}  // namespace kindrel
