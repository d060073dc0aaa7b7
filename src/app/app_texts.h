// Fixed texts of the viewer window and the small builders around them: captions, status bar
// panels, the welcome memo, the open routine's messages and the about box. Plain C++ so that
// the texts are tested without a display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kindrel {

// Product name, used as the message-box caption and the application title.
inline constexpr const char* kProductName = "Kindrel Self-Viewing GEDCOM";
// The main window's caption without a file.
inline constexpr const char* kMainCaption = "Kindrel Self-Viewing GEDCOM 1.07";
// The version shown by the about box and in support mails.
inline constexpr const char* kVersionNumber = "1.07";
inline constexpr int kBuildNumber = 1491;
inline constexpr const char* kBuildLabel = "Built: Fri Sep 28 2001 - 13:07:15";
inline constexpr const char* kCopyrightText =
    "Copyright \xC2\xA9 the Kindrel authors. Free to copy and to pass on.";
// The maker's addresses (support mail and web site).
inline constexpr const char* kSupportEmail = "kindrel-support@example.org";
inline constexpr const char* kMakerWebSite = "https://kindrel.example.org/";
// Body of every support mail.
inline constexpr const char* kSupportMailBody = "Kindrel SE Version = 1.07";

// The message shown when the executable carries no GEDCOM.
inline constexpr const char* kNoGedcomMessage =
    "Error: This Self-Viewing file does not contain a GEDCOM.\n\rPlease contact the person that "
    "created this file";
// Status panel 0 while a load or analysis runs.
inline constexpr const char* kAnalyzingText = "(Analyzing - Please Wait...)";
// The wait dialog's text while the open routine loads the file.
inline constexpr const char* kReadingText = "Reading.  Please Wait...";
// The splash window's texts.
inline constexpr const char* kSplashLoadingText =
    "Loading and uncompressing GEDCOM file.  Please wait...";
// The label beside the "Extract GEDCOM" button.
inline constexpr const char* kExtractLabelText =
    "The sender of this gedcom has allowed you to use this GEDCOM as you will.  Press the "
    "button to the right to extract the GEDCOM to your computer.";
// The caption of the Sender page's group box.
inline constexpr const char* kSenderGroupCaption = "Information about who created this GEDCOM";
// Hint of the Back command.
inline constexpr const char* kGoBackHint = "Go back to pervious individual";
// The quick-help reset command.
inline constexpr const char* kResetQuickHelpText = "Reset Quick Help Dialog Boxes";

// "Kindrel Self-Viewing GEDCOM 1.07 - " + title.
std::string CaptionWithTitle(const std::string& title);
// The splash window's title: "Kindrel Self-Viewing GEDCOM V1.07".
std::string SplashTitle();
// "Version: 1.07." followed by the build number.
std::string AboutVersionText();

// A count with thousands separators and no decimals ("12,345"; negative numbers keep "-").
std::string FormatCount(long long value);
// Status panel texts: "I: " + count and the like.
std::string StatusIndividualsText(long long count);
std::string StatusFamiliesText(long long count);
// "N: " + count, or "N: N/A" when notAvailable (collection kinds 3 and 5).
std::string StatusNotesText(long long count, bool notAvailable = false);
std::string StatusSourcesText(long long count);
// The statistics row "Importing": seconds as "%.3f seconds".
std::string ImportingText(double seconds);

// "The file: " + name + "\r" + "does not exist.  Please select another file."
std::string MissingFileText(const std::string& fileName);

// The welcome memo's lines, each ending in "\r\n" as stored.
std::vector<std::string> WelcomeMemoLines();

// A mail link to the maker's support address with the support body.
std::string SupportMailUrl();

// The page name table (14 texts) and the tab set (10 indexes into it).
const std::vector<std::string>& PageNames();
const std::vector<int>& TabPageIndexes();
// The ten tab texts in tab order ("Sender", "General", ... "Sources").
std::vector<std::string> TabTexts();
// Index of "Highlighted" in the page name table; that tab shows the List page in highlighted mode.
inline constexpr int kHighlightedPageName = 13;

// Tab indexes of the main window's strip (0-based; the design's positions are these + 1).
enum TabIndex : int {
    kTabSender = 0,
    kTabGeneral,
    kTabIndividual,
    kTabFamily,
    kTabPedigree,
    kTabDescendants,
    kTabList,
    kTabHighlighted,
    kTabIslands,
    kTabSources,
    kTabInternet,  // after the design's ten tabs; LastTab 0..9 keep their meaning
    kTabCount
};

}  // namespace kindrel
