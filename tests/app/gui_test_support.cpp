#include "gui_test_support.h"

#include "services/options.h"

#include "app/url_opener.h"
#include "services/self_view_packer.h"

#include <QDialog>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kindrel::guitest {

namespace fs = std::filesystem;

namespace {

// Removes the private folder when the process ends.
struct FolderRemover {
    std::string path;
    ~FolderRemover() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
};

FolderRemover& Folder() {
    static FolderRemover folder;
    return folder;
}

}  // namespace

const std::string& TestDir() {
    FolderRemover& folder = Folder();
    if (folder.path.empty()) {
        std::string pattern = (fs::temp_directory_path() / "kindrel-gui-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder.path = pattern;
        fs::create_directories(fs::path(pattern) / "config");
        fs::create_directories(fs::path(pattern) / "tmp");
        ::setenv("XDG_CONFIG_HOME", (fs::path(pattern) / "config").c_str(), 1);
        ::setenv("TMPDIR", (fs::path(pattern) / "tmp").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
    }
    return folder.path;
}

std::string SettingsFile() {
    return (fs::path(TestDir()) / "config" / "KDSE.ini").string();
}

void FreshSettings() {
    std::error_code ec;
    fs::remove(SettingsFile(), ec);
    Options().ClearCache();
    // Each test starts where it says; the ones about restoring turn this on.
    Options().WriteBool(Opt::OpenLastFile, false);
}

QApplication& GuiApp() {
    TestDir();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "kindrel-gui-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* made = new QApplication(argc, argv);
        FreshSettings();
        return made;
    }();
    return *app;
}

std::string GeneratedGedcom(const std::string& generator, int n) {
    const std::string file = TestDir() + "/generated-" + std::to_string(n) + ".ged";
    if (!fs::exists(file)) {
        const std::string command = "\"" + generator + "\" " + std::to_string(n) + " -o \"" +
                                    file + "\" > /dev/null";
        if (std::system(command.c_str()) != 0) return {};
    }
    return file;
}

std::string PackSample(const SampleOptions& options) {
    PackOptions pack;
    pack.gedcomFile = std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged";
    pack.outputFile = (fs::path(TestDir()) / options.outputName).string();
    pack.viewerFile = fs::exists("/bin/true") ? "/bin/true" : "/proc/self/exe";
    pack.title = kSampleTitle;
    pack.senderName = kSampleSender;
    pack.senderEmail = kSampleEmail;
    pack.address1 = kSampleAddress1;
    pack.address2 = kSampleAddress2;
    pack.webSite = options.webSite;
    pack.phone = kSamplePhone;
    pack.message = kSampleMessage;
    pack.allowExtract = options.allowExtract;
    pack.startIndividual = kSampleStartIndividual;
    const PackResult packed = PackSelfViewing(pack);
    if (options.damagedBlock) {
        // The stored CRC sits 8 bytes into the first block, right after the viewer part.
        std::fstream file(pack.outputFile, std::ios::in | std::ios::out | std::ios::binary);
        file.seekg(packed.viewerBytes + 8);
        const char byte = static_cast<char>(file.get() ^ 0x55);
        file.seekp(packed.viewerBytes + 8);
        file.put(byte);
    }
    return pack.outputFile;
}

Recorder::Recorder() {
    WMessageBox::SetTestHandler([this](const MessageRecord& message) {
        messages.push_back(message);
        return true;
    });
    WUrlOpener::SetTestHandler([this](const QUrl& url) {
        urls.push_back(url);
        return true;
    });
    WDialogRunner::SetTestHandler([this](QDialog&) {
        ++dialogs;
        return static_cast<int>(QDialog::Rejected);
    });
}

Recorder::~Recorder() {
    WMessageBox::SetTestHandler({});
    WUrlOpener::SetTestHandler({});
    WDialogRunner::SetTestHandler({});
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

std::unique_ptr<TLogoAppForm> OpenWindow(const std::string& selfViewFile,
                                         const std::string& gedcomFile) {
    TLogoAppForm::StartOptions start;
    start.selfViewFile = selfViewFile;
    start.gedcomFile = gedcomFile;
    return OpenWindow(start);
}

std::unique_ptr<TLogoAppForm> OpenWindow(const TLogoAppForm::StartOptions& start) {
    GuiApp();
    auto window = std::make_unique<TLogoAppForm>(start);
    window->resize(1100, 720);
    window->show();
    TLogoAppForm* raw = window.get();
    WaitFor([raw] { return raw->StartupDone(); });
    return window;
}

}  // namespace kindrel::guitest
