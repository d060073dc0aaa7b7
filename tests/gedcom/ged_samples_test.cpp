// The two sample files loaded and read back against what they say (samples/README.md), and
// the individual report of the sample family.
#include "gedcom/ged_collection.h"
#include "gedcom/individual_report.h"
#include "model/date.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kindrel {
namespace {

std::unique_ptr<WGEDCollection> LoadSample(const char* name) {
    std::string error;
    auto c = OpenGedcomCollection(std::string(KINDREL_SAMPLES_DIR) + "/" + name, error);
    EXPECT_TRUE(c) << error;
    if (!c) return nullptr;
    EXPECT_TRUE(c->LoadFile());
    c->AfterLoad();
    return c;
}

class SampleFamily : public ::testing::Test {
  protected:
    void SetUp() override { m_c = LoadSample("sample_family.ged"); }
    int32_t Who(const char* id) { return m_c->FindIndividual(id); }
    std::unique_ptr<WGEDCollection> m_c;
};

TEST_F(SampleFamily, CountsAndCharacterSet) {
    ASSERT_TRUE(m_c);
    EXPECT_EQ(m_c->IndividualCount(), 59);
    EXPECT_EQ(m_c->FamilyCount(), 18);
    EXPECT_EQ(m_c->NoteCount(), 3);
    EXPECT_EQ(m_c->SourceCount(), 4);
    EXPECT_EQ(m_c->Count(kBucketRepository), 2);
    EXPECT_EQ(m_c->Count(kBucketSubmitter), 1);
    EXPECT_EQ(m_c->CharSetCode(), kCharSetUtf8);
    for (int n = 1; n <= 59; ++n) {
        EXPECT_EQ(m_c->FindIndividual("I" + std::to_string(n)), n) << "ids ascend in file order";
    }
}

TEST_F(SampleFamily, WilliamsThreeMarriagesInDateOrder) {
    const auto william = m_c->GetIndividual(Who("I4"));
    ASSERT_EQ(william->SpouseFamilyCount(), 3);
    EXPECT_EQ(william->SpouseFamily(1), m_c->FindFamily("F3"));
    EXPECT_EQ(william->SpouseFamily(2), m_c->FindFamily("F5"));
    EXPECT_EQ(william->SpouseFamily(3), m_c->FindFamily("F4"));
    EXPECT_EQ(william->RefNumberText(), "H-004");
    EXPECT_EQ(william->EventCount(kEventOther), 4);
    EXPECT_EQ(william->Event(kEventOther, 2)->TypeText(), "Schoolhouse");
    const auto clara = m_c->GetIndividual(Who("I12"));
    EXPECT_EQ(clara->SpouseFamily(1), m_c->FindFamily("F6"));
    EXPECT_EQ(clara->SpouseFamily(2), m_c->FindFamily("F7"));
}

TEST_F(SampleFamily, ChildrenInBirthOrder) {
    auto f1 = m_c->GetMarriage(m_c->FindFamily("F1"));
    f1->OrderChildren();
    const char* expected[] = {"I3", "I6", "I4", "I7", "I5"};
    ASSERT_EQ(f1->ChildCount(), 5);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(f1->Child(i), Who(expected[i - 1])) << i;
    auto f5 = m_c->GetMarriage(m_c->FindFamily("F5"));
    f5->OrderChildren();
    EXPECT_EQ(f5->Child(1), Who("I16"));
    EXPECT_EQ(f5->Child(2), Who("I15"));
    EXPECT_EQ(f5->Child(3), Who("I17"));
}

TEST_F(SampleFamily, SigridHasTwoParentFamilies) {
    const auto sigrid = m_c->GetIndividual(Who("I24"));
    ASSERT_EQ(sigrid->ParentFamilyCount(), 2);
    EXPECT_EQ(sigrid->ParentFamily(1), m_c->FindFamily("F6"));
    EXPECT_EQ(sigrid->ParentFamily(2), m_c->FindFamily("F7"));
    const auto adoption = sigrid->Event(kEventOther, 1);
    EXPECT_EQ(adoption->TypeText(), "Adoption");
    EXPECT_EQ(adoption->DateText(), "1871");
    ASSERT_EQ(adoption->CitationCount(), 1);
    EXPECT_EQ(adoption->Citation(1)->Source()->RecordText(), "") << "an inline source";
    const std::string report = IndividualReport(*m_c, Who("I24"));
    EXPECT_NE(report.find("Parents in family 7 @F7@: Daughter, pedigree adopted"),
              std::string::npos)
        << report;
}

TEST_F(SampleFamily, NamesEventsAndConversion) {
    const auto lucja = m_c->GetIndividual(Who("I22"));
    EXPECT_EQ(lucja->FullName(false), "\xC5\x81ucja /Kowalczyk/");
    const auto josiah = m_c->GetIndividual(Who("I6"));
    EXPECT_EQ(josiah->Event(kEventDeath, 1)->NoteText(), "Y");
    EXPECT_EQ(josiah->DateText(kEventBirth), "EST 1818");
    const auto stan = m_c->GetIndividual(Who("I27"));
    EXPECT_EQ(stan->Name()->Prefix(), "Dr.");
    const auto ambrose = m_c->GetIndividual(Who("I1"));
    EXPECT_EQ(ambrose->AfnText(), "1J7Q-KX3");
    EXPECT_EQ(ambrose->ChangeDateText(), "14 JAN 2019");
    EXPECT_EQ(ambrose->DateText(kEventBurial), "AFT 17 FEB 1860");
    EXPECT_FALSE(ambrose->NoteText().empty());
    EXPECT_EQ(ambrose->AgeText(), "~68");
    const auto nils = m_c->GetIndividual(Who("I25"));
    EXPECT_EQ(nils->LDSTempleText(kEventLdsEndowment, true), "LOGAN");
    EXPECT_EQ(m_c->SealingDateText(Who("I25"), 1), "12 OCT 1888");
    const auto submitter = m_c->GetSubmitter();
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kName), "Eva Dvo\xC5\x99\xC3\xA1k");
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kAddress3), "Wendle WE7 3LR");
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kEmail), "eva.dvorak@example.org");
    EXPECT_EQ(m_c->GetRepo(2)->RepoName().find('\r') != std::string::npos, true);
}

TEST_F(SampleFamily, ReportReadsLikeTheFile) {
    const std::string report = IndividualReport(*m_c, Who("I4"));
    for (const char* line : {"Individual 4: @I4@\n", "Name: William /Harrowgate/\n", "Sex: M\n",
                             "Age: 78\n", "  Birth: 12 JUN 1821, Ashcombe, Wendle, England\n",
                             "  Death: 3 DEC 1899, Millbrook, Wendle, England (age 78)\n",
                             "Parents in family 1 @F1@: Son\n", "  Father: Ambrose /Harrowgate/",
                             "Marriage 1 of 3, family 3 @F3@:\n",
                             "  Married: 3 APR 1843, Millbrook, Wendle, England (age 21)\n",
                             "Marriage 3 of 3, family 4 @F4@:\n", "  Married: Bremen, Germany\n",
                             "  Daughter: Clara /Harrowgate/", "  Son: Frederick /Harrowgate/"}) {
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    }
    EXPECT_LT(report.find("@F3@"), report.find("@F5@"));
    EXPECT_LT(report.find("@F5@"), report.find("@F4@"));
    EXPECT_EQ(IndividualReport(*m_c, 0), "");
}

TEST(SampleAnsel, DiacriticsConvertToUnicode) {
    const auto c = LoadSample("sample_ansel.ged");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->CharSetCode(), kCharSetAnsel);
    EXPECT_EQ(c->IndividualCount(), 8);
    EXPECT_EQ(c->FamilyCount(), 3);
    const struct {
        const char* id;
        const char* name;
    } people[] = {{"I1", "Ren\xC3\xA9 /Lef\xC3\xA8vre/"},
                  {"I2", "Fran\xC3\xA7oise /M\xC3\xBCller/"},
                  {"I5", "\xC5\x81ukasz /W\xC3\xB3jcik/"},
                  {"I6", "\xC5\xA0\xC3\xA1rka /W\xC3\xB3jcik/"},
                  {"I7",
                   "S\xC3\xB8ren /\xC3\x85"
                   "berg/"},
                  {"I8",
                   "Do\xC4\x9F"
                   "an /\xC5\x9E"
                   "ahin/"}};
    for (const auto& person : people) {
        EXPECT_EQ(c->FullNameOf(c->FindIndividual(person.id)), person.name) << person.id;
    }
    EXPECT_EQ(c->GetIndividual(c->FindIndividual("I1"))->PlaceText(kEventBirth),
              "Besan\xC3\xA7on, Doubs, France");
}

}  // namespace
}  // namespace kindrel
