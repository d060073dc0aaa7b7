#include "app/app_texts.h"

#include <cstdio>

namespace kindrel {

std::string CaptionWithTitle(const std::string& title) {
    return std::string(kMainCaption) + " - " + title;
}

std::string SplashTitle() {
    // Built from its pieces as the version number is everywhere else.
    return std::string(kProductName) + " V" + "1" + "." + "07";
}

std::string AboutVersionText() {
    return std::string("Version: ") + kVersionNumber + "." + std::to_string(kBuildNumber);
}

std::string FormatCount(long long value) {
    // Digits grouped by three from the right; the magnitude is taken as unsigned so the
    // smallest long long does not overflow.
    const bool negative = value < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                                  : static_cast<unsigned long long>(value);
    const std::string digits = std::to_string(magnitude);
    std::string grouped;
    int written = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, ++written) {
        if (written != 0 && written % 3 == 0) grouped += ',';
        grouped += *it;
    }
    const std::string ordered(grouped.rbegin(), grouped.rend());
    return negative ? "-" + ordered : ordered;
}

std::string StatusIndividualsText(long long count) {
    return "I: " + FormatCount(count);
}

std::string StatusFamiliesText(long long count) {
    return "F: " + FormatCount(count);
}

std::string StatusNotesText(long long count, bool notAvailable) {
    return notAvailable ? std::string("N: N/A") : "N: " + FormatCount(count);
}

std::string StatusSourcesText(long long count) {
    return "S: " + FormatCount(count);
}

std::string ImportingText(double seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f seconds", seconds);
    return text;
}

std::string MissingFileText(const std::string& fileName) {
    return "The file: " + fileName + "\r" + "does not exist.  Please select another file.";
}

std::vector<std::string> WelcomeMemoLines() {
    return {
        "Welcome\r\n",
        "This Self-Viewing GEDCOM executable was created using Fallowmere's Kindrel application.  "
        "You are free to run and view this GEDCOM file as many times as you want.\r\n",
        "The individual that created this executable is described to the left.  If they "
        "included an email address, you can send them an email by clicking on their email "
        "address.\r\n",
        "Quick Help\r\n",
        "- The scrollbar at the top of the screen allows you to select all individuals in this "
        "GEDCOM file.\r\n",
        "- Each tab display different information based on the selected individual in the "
        "scrollbar.\r\n",
        "- Double clicking on an individual's name in any of the tabs moves to that person in "
        "the scrollbar.\r\n",
        std::string("- More about Kindrel: ") + kMakerWebSite + "\r\n",
    };
}

std::string SupportMailUrl() {
    // The body holds spaces and "=": both are written percent-encoded.
    return std::string("mailto:") + kSupportEmail + "?body=Kindrel%20SE%20Version%20%3D%201.07";
}

const std::vector<std::string>& PageNames() {
    static const std::vector<std::string> names = {
        "General",  "Individual", "Family",  "Pedigree", "Descendants", "List",   "Islands",
        "Internet", "Notes",      "Sources", "Objects",  "Submitters",  "Sender", "Highlighted"};
    return names;
}

const std::vector<int>& TabPageIndexes() {
    static const std::vector<int> indexes = {12, 0, 1, 2, 3, 4, 5, 13, 6, 9, 7};
    return indexes;
}

std::vector<std::string> TabTexts() {
    std::vector<std::string> texts;
    for (const int index : TabPageIndexes())
        texts.push_back(PageNames()[static_cast<size_t>(index)]);
    return texts;
}

}  // namespace kindrel
