// The quick-help topics, their once-only rules and the help pages they link to.
#include "app/quick_help.h"
#include "app/app_texts.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <set>

namespace kindrel {
namespace {

TEST(QuickHelp, SixteenTopicsWithTheirTitlesInOrder) {
    const std::vector<std::string> titles = {"Welcome to Kindrel Self-Viewing GEDCOM",
                                             "General Tab",
                                             "Individual Tab",
                                             "Family Tab",
                                             "Pedigree Tab",
                                             "Descendants Tab",
                                             "List Tab",
                                             "Highlighted Tab",
                                             "Islands Tab",
                                             "Sources Tab",
                                             "Internet Tab",
                                             "Self-Viewing GEDCOM Feature",
                                             "File Search Feature",
                                             "Highlighting Panel",
                                             "Islands Panel",
                                             "Directory Panel"};
    ASSERT_EQ(QuickHelpTopics().size(), titles.size());
    for (size_t i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(QuickHelpTopics()[i].number, static_cast<int>(i + 1));
        EXPECT_EQ(QuickHelpTopics()[i].title, titles[i]);
    }
    EXPECT_EQ(QuickHelpTopicOf(0), nullptr);
    EXPECT_EQ(QuickHelpTopicOf(17), nullptr);
}

TEST(QuickHelp, DescriptionsOpenWithTheirSentences) {
    const std::vector<std::string> openings = {
        "Kindrel is an incredible tool for analyzing your family information.",
        "General Tab displays general information, submitter and file details about the "
        "genealogy file.",
        "The Individual Tab displays detailed information about the Active Individual.",
        "The Family Tab displays the family information of the Active Individual.",
        "This Pedigree Tab displays 4 generations of the Active Individual.",
        "This tab displays the descendants of the Active Individual.",
        "This tab displays the all individuals in the genealogy file.",
        "This tab displays the all individuals in the genealogy file that are highlighted.",
        "This tab displays the Islands found in your genealogy file.",
        "This tab displays all of the general sources in your genealogy file.",
        "The Internet Tab allows you to search the Internet for information about an individual "
        "in your genealogy file.",
        "Kindrel has the ability to create a Self-Viewing executable from a GEDCOM file.",
        "This left side panel is used to search your computer for individuals.",
        "Kindrel allows you to easily highlight individuals in your genealogy data file with this "
        "left side panel.",
        "This left side panel is used to view the individuals, families, notes and sources "
        "contained in any island found in the genealogy file.",
        "The side panel to the left is used to quickly locate your genealogy files on your "
        "computer."};
    for (size_t i = 0; i < openings.size(); ++i)
        EXPECT_EQ(QuickHelpTopics()[i].description.rfind(openings[i], 0), 0u) << "topic " << i + 1;
}

TEST(QuickHelp, FirstTwoLinkListsAreExact) {
    EXPECT_EQ(QuickHelpTopicOf(1)->links,
              "Welcome to Kindrel|100;Ordering Kindrel|120;Uninstalling Kindrel|130;Quick "
              "Help|140;Main Screen|200");
    EXPECT_EQ(QuickHelpTopicOf(2)->links, "Tabs Overview|999;General Tab|1000");
}

TEST(QuickHelp, LinkListsParseIntoTextAndContext) {
    const std::vector<HelpLink> links = ParseHelpLinks("A|100;B b|120;broken;C|x;|5;D|7");
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].text, "A");
    EXPECT_EQ(links[0].context, 100);
    EXPECT_EQ(links[1].text, "B b");
    EXPECT_EQ(links[2].context, 7);
    EXPECT_TRUE(ParseHelpLinks("").empty());
}

TEST(QuickHelp, EveryLinkOpensAHelpPage) {
    for (const QuickHelpTopic& topic : QuickHelpTopics()) {
        const std::vector<HelpLink> links = ParseHelpLinks(topic.links);
        EXPECT_FALSE(links.empty()) << topic.title;
        for (const HelpLink& link : links)
            EXPECT_NE(HelpPageForContext(link.context), nullptr)
                << link.text << " " << link.context;
        const HelpPage* own = HelpPageForContext(HelpContextForTopic(topic.number));
        ASSERT_NE(own, nullptr);
    }
    EXPECT_EQ(HelpContextForTopic(2), 1000);
    EXPECT_EQ(HelpContextForTopic(1), 100);
    EXPECT_EQ(HelpContextForTopic(13), 2100);
    EXPECT_EQ(HelpContextForTopic(99), 0);
    EXPECT_EQ(HelpPageForContext(4711), nullptr);
    EXPECT_EQ(HelpPageForContext(0)->file, "index.html");
}

TEST(QuickHelp, HelpPagesHaveDistinctContextsAndFiles) {
    std::set<int> contexts;
    std::set<std::string> files;
    for (const HelpPage& page : HelpPages()) {
        EXPECT_TRUE(contexts.insert(page.context).second) << page.context;
        EXPECT_TRUE(files.insert(page.file).second) << page.file;
        EXPECT_TRUE(std::filesystem::exists(std::string(KINDREL_APP_HELP_DIR) + "/" + page.file))
            << page.file;
    }
}

TEST(QuickHelp, NoticeQuotesTheTitle) {
    EXPECT_EQ(QuickHelpNotice("General Tab"),
              "This help dialog box for \"General Tab\" is only displayed once.");
}

TEST(QuickHelp, TopicsOfTabsAndPanels) {
    EXPECT_EQ(QuickHelpTopicForTab(kTabSender), 0);
    EXPECT_EQ(QuickHelpTopicForTab(kTabGeneral), 2);
    EXPECT_EQ(QuickHelpTopicForTab(kTabHighlighted), 8);
    EXPECT_EQ(QuickHelpTopicForTab(kTabSources), 10);
    EXPECT_EQ(QuickHelpTopicForTab(kTabCount), 0);
    EXPECT_EQ(QuickHelpTopicForPanel(kPanelFileSearch), 13);
    EXPECT_EQ(QuickHelpTopicForPanel(kPanelHighlighting), 14);
    EXPECT_EQ(QuickHelpTopicForPanel(kPanelIslands), 15);
    EXPECT_EQ(QuickHelpTopicForPanel(kPanelDirectory), 16);
    EXPECT_EQ(QuickHelpTopicForPanel(4), 0);
}

class QuickHelpSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/kindrel-qh-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string File() const { return m_dir + "/KDSE.ini"; }
    std::string m_dir;
};

TEST_F(QuickHelpSettings, EachTopicIsDueOnceAndTheCheckBoxStopsAll) {
    WOptions options(File());
    EXPECT_TRUE(QuickHelpDue(options, 2));
    QuickHelpShown(options, 2, false);
    EXPECT_FALSE(QuickHelpDue(options, 2));
    EXPECT_TRUE(QuickHelpDue(options, 3));
    QuickHelpShown(options, 3, true);
    EXPECT_FALSE(options.ReadBool(Opt::DispInitHelp));
    EXPECT_FALSE(QuickHelpDue(options, 4));  // all switched off
    EXPECT_TRUE(options.ReadBool(Opt::IH4));
    EXPECT_FALSE(QuickHelpDue(options, 0));
    EXPECT_FALSE(QuickHelpDue(options, 17));
}

TEST_F(QuickHelpSettings, ResetMakesEveryTopicDueAgainAndIsStored) {
    {
        WOptions options(File());
        for (int n = 1; n <= kQuickHelpTopicCount; ++n) QuickHelpShown(options, n, n == 16);
        ResetQuickHelp(options);
        for (int n = 1; n <= kQuickHelpTopicCount; ++n) EXPECT_TRUE(QuickHelpDue(options, n));
        options.Flush();
    }
    WOptions reread(File());
    EXPECT_TRUE(reread.ReadBool(Opt::DispInitHelp));
    EXPECT_TRUE(reread.ReadBool(Opt::IH16));
}

}  // namespace
}  // namespace kindrel
