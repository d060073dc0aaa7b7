// "Restore settings at startup": the tab, the individual and the left panel of the last
// session come back when the window opens; the individual only for the same file.
#include "app/main_window.h"

#include "model/collection.h"
#include "services/options.h"

#include <QApplication>

#include <filesystem>

namespace kindrel {

namespace {

// Outside the numbered settings: the file the stored LastID belongs to.
constexpr const char* kSessionSection = "General";
constexpr const char* kSessionFileKey = "LastIDFile";
constexpr int kPanelPages = 4;

}  // namespace

std::string TLogoAppForm::SessionFile() const {
    std::string file = m_start.gedcomFile.empty() ? m_start.selfViewFile : m_fileName;
    if (file == "/proc/self/exe") file = QApplication::applicationFilePath().toStdString();
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(file, ec);
    return ec ? file : canonical.string();
}

void TLogoAppForm::StoreSessionFile() {
    if (!m_collection) return;
    try {
        Options().WriteDirect(kSessionSection, kSessionFileKey, SessionFile());
    } catch (const std::exception&) {
        // Without it the next start shows the file's own start individual.
    }
}

void TLogoAppForm::RestoreLastSession() {
    WOptions& options = Options();
    if (!options.ReadBool(Opt::OpenLastFile) || !m_collection) return;
    if (options.ReadDirect(kSessionSection, kSessionFileKey, "") == SessionFile()) {
        const int last = options.ReadInt(Opt::LastID);
        if (last > 0 && last <= m_collection->IndividualCount()) JumpToIndividual(last);
    }
    if (m_savedTab > 0 && m_savedTab < kTabCount) SelectTab(m_savedTab);
    const int panel = options.ReadInt(Opt::LastPanel);
    if (options.ReadBool(Opt::LastPanelState) && panel >= 0 && panel < kPanelPages && !PanelShown())
        PanelCommand(panel);
}

}  // namespace kindrel
