// Helpers of the viewer's window tests: a private settings and temporary folder, the one
// QApplication, a self-viewing file of the sample family, recorders for message boxes and
// opened links, and waiting on the event loop.
#pragma once

#include "app/main_window.h"
#include "app/message_box.h"

#include <QApplication>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kindrel::guitest {

// The trailer fields of the packed sample.
inline constexpr const char* kSampleTitle = "The Sample Family";
inline constexpr const char* kSampleSender = "Eva Dvo\xC5\x99\xC3\xA1k";
inline constexpr const char* kSampleEmail = "eva.dvorak@example.org";
inline constexpr const char* kSampleAddress1 = "27 Lantern Row";
inline constexpr const char* kSampleAddress2 = "Ashcombe Mill, Wendle";
inline constexpr const char* kSamplePhone = "+44 1632 960482";
inline constexpr const char* kSampleMessage = "Here is the family.\r\nCorrections welcome!";
inline constexpr int kSampleStartIndividual = 4;

// Points XDG_CONFIG_HOME and TMPDIR at a fresh folder of this process (removed at exit), sets
// QT_QPA_PLATFORM=offscreen, and creates the QApplication on first use.
QApplication& GuiApp();
// The process's private folder.
const std::string& TestDir();
// The settings file the viewer writes ($XDG_CONFIG_HOME/KDSE.ini).
std::string SettingsFile();
// Starts a test on the settings a new user has (the file removed, the store's cache
// forgotten), but with OpenLastFile off, whatever the tests before it in this process wrote.
// GuiApp starts the process so.
void FreshSettings();

// What a packed sample carries.
struct SampleOptions {
    std::string webSite;  // empty leaves "Web Site:" hidden
    bool allowExtract = false;
    bool damagedBlock = false;  // the first block's stored CRC no longer matches it
    std::string outputName = "SampleFamily";
};
// Packs samples/sample_family.ged into a self-viewing file in TestDir() (a small system
// executable stands in for the viewer part) and returns its path.
std::string PackSample(const SampleOptions& options = {});

// A GEDCOM of n generated individuals made by the generator executable in TestDir() (once
// per process); empty when the generator failed.
std::string GeneratedGedcom(const std::string& generator, int n);

// Message boxes and links recorded instead of shown, while the recorder lives.
class Recorder {
  public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    std::vector<MessageRecord> messages;
    std::vector<QUrl> urls;
    int dialogs = 0;  // modal dialogs answered (rejected) instead of shown
};

// Processes events until done() answers true or timeoutMs passes; returns done().
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000);

// A window over the self-viewing file, shown, with its start-up load finished.
std::unique_ptr<TLogoAppForm> OpenWindow(const std::string& selfViewFile,
                                         const std::string& gedcomFile = {});
// The same with every start option given.
std::unique_ptr<TLogoAppForm> OpenWindow(const TLogoAppForm::StartOptions& start);

}  // namespace kindrel::guitest
