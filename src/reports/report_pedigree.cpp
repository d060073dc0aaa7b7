#include "reports/report_pedigree.h"

#include "app/family_group.h"
#include "containers/int_stack.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "model/records.h"

#include <memory>

namespace kindrel {

namespace {

// Generation (0 .. 3) and index within it of position p.
int GenerationOf(int p) { return p >= 8 ? 3 : p >= 4 ? 2 : p >= 2 ? 1 : 0; }

}  // namespace

bool TReportPedigreeForm::DoPrepare() {
    WABSCollection& c = *m_collection;
    const int32_t count = c.IndividualCount();
    m_position.assign(static_cast<size_t>(count) + 1, 0);
    m_chartOf.assign(static_cast<size_t>(count) + 1, 0);
    m_charts.clear();

    WIntFIFO roots;
    WIntFIFO families;
    const SpouseFamilyChoice first = ChooseSpouseFamily(c, m_subject, m_settings.familyIndex);
    roots.Put(m_subject);
    families.Put(first.family);
    int nextChart = 1;
    const bool cascading = !m_settings.pedSingle;
    const auto valid = [&](int32_t n) { return n > 0 && n <= count; };

    while (roots.Count() > 0) {
        Chart chart;
        int32_t root = 0;
        roots.Get(root);
        families.Get(chart.family[1]);
        const int number = static_cast<int>(m_charts.size()) + 1;
        chart.person[1] = root;
        for (int p = 1; p <= 15; ++p) {
            const int32_t i = chart.person[static_cast<size_t>(p)];
            if (!valid(i)) continue;
            if (p != 1 && m_chartOf[static_cast<size_t>(i)] != 0) {
                chart.alreadyPrinted |= static_cast<uint16_t>(1u << p);
                continue;
            }
            // A continuation root keeps the place where it was printed first.
            if (m_chartOf[static_cast<size_t>(i)] == 0) {
                m_position[static_cast<size_t>(i)] = p;
                m_chartOf[static_cast<size_t>(i)] = number;
            }
            if (p <= 7) {
                chart.person[static_cast<size_t>(2 * p)] = c.Father(i);
                chart.person[static_cast<size_t>(2 * p + 1)] = c.Mother(i);
            }
        }
        for (int p = 2; p <= 14; p += 2) {
            const int32_t father = chart.person[static_cast<size_t>(p)];
            const int32_t mother = chart.person[static_cast<size_t>(p + 1)];
            if (valid(father) && valid(mother))
                chart.family[static_cast<size_t>(p)] = c.MarriageBetween(father, mother);
        }
        if (cascading) {
            for (int p = 8; p <= 15; ++p) {
                const int32_t i = chart.person[static_cast<size_t>(p)];
                if (!valid(i) || (chart.alreadyPrinted & (1u << p))) continue;
                if (c.Father(i) == 0 && c.Mother(i) == 0) continue;
                roots.Put(i);
                families.Put(chart.family[static_cast<size_t>(p & ~1)]);
                chart.continuedOn[static_cast<size_t>(p)] = ++nextChart;
            }
        }
        m_charts.push_back(chart);
        if (!cascading) break;
        if (m_charts.size() % 256 == 0) PumpEvents();
    }
    return true;
}

WReportPage TReportPedigreeForm::Page(int k) {
    WReportPage page;
    if (k < 1 || k > PageCount()) return page;
    page.number = k;
    AddPageFrame(Frame(), k, page);
    WABSCollection& c = *m_collection;
    const Chart& chart = m_charts[static_cast<size_t>(k - 1)];
    const bool cascading = !m_settings.pedSingle;

    WBand band;
    int top = PageHeadHeight(Frame().titleLines.size()) + 4;
    if (cascading) {
        band.Label(5, 0, 300, "Chart no. " + std::to_string(k), true);
        if (k > 1) {
            const int32_t root = chart.person[1];
            band.Label(5, kReportLineHeight, 710,
                       "No. 1 on this chart in the same as no. " +
                           std::to_string(m_position[static_cast<size_t>(root)]) +
                           " on chart no. " +
                           std::to_string(m_chartOf[static_cast<size_t>(root)]));
        }
    }
    const int chartTop = 2 * kReportLineHeight + 4;
    const int chartHeight = kReportPageHeight - kPageFootHeight - top - chartTop - 4;
    constexpr int kColumnWidth = 180;
    constexpr int kSize = 10;
    constexpr int kLine = 12;

    for (int p = 1; p <= 15; ++p) {
        const int32_t i = chart.person[static_cast<size_t>(p)];
        const int g = GenerationOf(p);
        const int index = p - (1 << g);
        const int slot = chartHeight >> g;
        const int x = g * kColumnWidth;
        const int centre = chartTop + slot * index + slot / 2;
        const int w = kColumnWidth - 8;
        // Lines from this box to its parents' boxes.
        if (g < 3) {
            const int childSlot = chartHeight >> (g + 1);
            const int fatherY = chartTop + childSlot * (2 * index) + childSlot / 2;
            const int motherY = fatherY + childSlot;
            band.VerticalRule(x + kColumnWidth - 4, fatherY, motherY - fatherY);
            band.Rule(x + w, centre, 4);
        }
        band.Label(x, centre - kLine - 2, 12, std::to_string(p), false, WAlign::kLeft, 9)
            .colour = 0x606060;
        band.Rule(x, centre, w);
        if (i <= 0) continue;
        std::vector<std::string> lines;
        band.Label(x + 14, centre - kLine - 2, w - 14,
                   CutToWidth(Metrics(), ReportOneLine(c.FullNameOf(i)), w - 14, kSize, true),
                   true, WAlign::kLeft, kSize);
        if (chart.alreadyPrinted & (1u << p)) {
            lines.push_back("    Already printed.");
            lines.push_back("    See #" + std::to_string(m_position[static_cast<size_t>(i)]) +
                            " on Page " + std::to_string(m_chartOf[static_cast<size_t>(i)]));
        } else {
            const std::unique_ptr<WABSIndividual> person = c.GetIndividual(i);
            if (person) {
                lines.push_back("B: " + person->DateText(1));
                lines.push_back("P: " + person->PlaceText(1));
                lines.push_back("D: " + person->DateText(2));
                lines.push_back("P: " + person->PlaceText(2));
            }
            const int32_t family = chart.family[static_cast<size_t>(p == 1 ? 1 : p)];
            if ((p == 1 || p % 2 == 0) && family > 0) {
                const std::unique_ptr<WABSMarriage> marriage = ReadMarriage(c, family);
                lines.push_back("M: " + marriage->DateText());
                lines.push_back("P: " + marriage->MarriagePlaceText());
            }
            if (m_settings.useLds && person) {
                std::string mark = "    ";
                if (person->HasLDSEvent(7)) mark[0] = 'B';
                if (person->HasLDSEvent(8)) mark[1] = 'E';
                if (person->HasLDSEvent(9)) mark[2] = 'P';
                if (family > 0 && c.HasSpouseSealing(i, 1)) mark[3] = 'S';
                lines.push_back(mark);
            }
            if (const int32_t next = chart.continuedOn[static_cast<size_t>(p)]; next > 0)
                lines.push_back("Chart no. " + std::to_string(next));
        }
        int y = centre + 2;
        for (const std::string& line : lines) {
            band.Label(x + 4, y, w - 4, CutToWidth(Metrics(), ReportOneLine(line), w - 4, kSize, false),
                       false, WAlign::kLeft, kSize);
            y += kLine;
        }
        if (p == 1) {
            const int32_t spouse = chart.family[1] > 0
                                       ? ReadMarriage(c, chart.family[1])->OtherSpouse(i)
                                       : 0;
            band.Label(x + 4, y + 4, w - 4, "Spouse:", true, WAlign::kLeft, kSize);
            band.Label(x + 4, y + 4 + kLine, w - 4,
                       spouse > 0 ? CutToWidth(Metrics(), ReportOneLine(c.FullNameOf(spouse)),
                                               w - 4, kSize, false)
                                  : std::string(),
                       false, WAlign::kLeft, kSize);
        }
    }
    if (m_settings.useLds) {
        const int y = chartTop + chartHeight - 5 * kLine;
        band.Label(5, y, 170, "Completed Ordinances:", true, WAlign::kLeft, kSize);
        const char* const legend[] = {"B Baptized", "E Endowment", "P Sealed to Parents",
                                      "S Sealed to Spouse"};
        for (int j = 0; j < 4; ++j)
            band.Label(5, y + (j + 1) * kLine, 170, legend[j], false, WAlign::kLeft, kSize);
    }
    for (WReportItem item : band.items) {
        item.y += top;
        page.items.push_back(std::move(item));
    }
    return page;
}

}  // namespace kindrel
