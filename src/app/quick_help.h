// The 16 quick-help topics (title, description, help links), the rules for showing each once,
// and the map from help context numbers to the viewer's own help pages.
#pragma once

#include "services/options.h"

#include <string>
#include <vector>

namespace kindrel {

// One help link of a topic: its text and the help context number it opens.
struct HelpLink {
    std::string text;
    int context = 0;
};

// One quick-help topic; number 1 to 16, its settings key IH<number>.
struct QuickHelpTopic {
    int number = 0;
    std::string title;
    std::string description;
    std::string links;  // "text|context;text|context"
};

// Number of quick-help topics.
inline constexpr int kQuickHelpTopicCount = 16;

// The topics in order (number 1 first).
const std::vector<QuickHelpTopic>& QuickHelpTopics();
// Topic n (1 to 16), or null.
const QuickHelpTopic* QuickHelpTopicOf(int number);
// Splits a link list "text|n;text|n" into its links; pairs without a number are skipped.
std::vector<HelpLink> ParseHelpLinks(const std::string& links);
// "This help dialog box for " + quote + title + quote + " is only displayed once."
std::string QuickHelpNotice(const std::string& title);

// The topic shown the first time a tab's page is shown (tab index 0..9), 0 for none.
int QuickHelpTopicForTab(int tabIndex);

// The left panel's pages, by tag.
enum PanelPage : int {
    kPanelDirectory = 0,
    kPanelFileSearch = 1,
    kPanelIslands = 2,
    kPanelHighlighting = 3,
    kPanelPageCount = 4
};
// The topic shown the first time the left panel shows a page, 0 for none.
int QuickHelpTopicForPanel(int panelPage);

// True when topic n is still to be shown: DispInitHelp and the topic's key are both "T".
bool QuickHelpDue(WOptions& options, int number);
// After the dialog of topic n closed: its key becomes false and DispInitHelp the negation of
// the "Stop displaying these help dialog boxes" check box.
void QuickHelpShown(WOptions& options, int number, bool stopDisplaying);
// "Reset Quick Help Dialog Boxes": every topic key and DispInitHelp become true.
void ResetQuickHelp(WOptions& options);

// One page of the viewer's help: its context number, resource file and title.
struct HelpPage {
    int context = 0;
    std::string file;  // file name inside the help resources (":/help/<file>")
    std::string title;
};

// Every help page, the contents page first (context 0).
const std::vector<HelpPage>& HelpPages();
// The page of a context number, or null when no page has it.
const HelpPage* HelpPageForContext(int context);
// The main help context of topic n (its first link), 0 for an unknown topic.
int HelpContextForTopic(int number);

}  // namespace kindrel
