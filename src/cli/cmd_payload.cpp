// Commands around self-viewing files: pack a GEDCOM into one, show its trailer, expand it.
#include "cli/cli_common.h"

#include "payload/blokar_compress.h"
#include "services/atomic_output.h"
#include "services/embedded_gedcom.h"
#include "services/posix_file.h"
#include "services/runtime_footer.h"
#include "services/self_view_packer.h"
#include "services/self_view_trailer.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

namespace kindrel::cli {

namespace {

struct PackArgs {
    PackOptions pack;
    std::string messageFile;
    bool plain = false;
};

struct ExpandArgs {
    std::string input;
    std::string output;
    int blocks = 0;
};

// The file named name beside the running kindrel, or empty when there is none.
std::string BesideKindrel(const char* name) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    const auto file = self.parent_path() / name;
    return std::filesystem::is_regular_file(file, ec) ? file.string() : std::string();
}

// The viewer part to pack: the portable one (launcher and runtime bundle) when it was built,
// else the plain viewer; with plain, the plain viewer (its stripped copy when there is one).
std::string DefaultViewer(bool plain) {
    const std::string portable = plain ? std::string() : BesideKindrel("kindrel-portable");
    if (!portable.empty()) return portable;
    const std::string stripped = BesideKindrel("kindrel-plain");
    return stripped.empty() ? BesideKindrel("kindrel-viewer") : stripped;
}

// "portable (...)" when the viewer part of the file open at fd, ending at end, carries a
// runtime bundle, else "plain".
std::string ViewerKind(int fd, long long end) {
    try {
        const std::optional<RuntimeFooterInfo> runtime = ReadRuntimeFooter(fd, end);
        if (!runtime) return "plain (needs Qt 6 on the receiving machine)";
        return "portable (launcher " + std::to_string(runtime->bundleOffset) +
               " bytes, runtime bundle " + std::to_string(runtime->footer.bundleBytes) +
               " bytes, runtime " + runtime->footer.RuntimeIdHex().substr(0, 16) +
               ", needs glibc " + runtime->footer.glibcFloor + " or newer)";
    } catch (const EBundleError& error) {
        return std::string("portable, but its runtime bundle is damaged: ") + error.what();
    }
}

std::string ReadMessageFile(const std::string& path) {
    std::error_code ec;
    // Not a named pipe or device: opening one could wait forever.
    if (!std::filesystem::is_regular_file(path, ec))
        throw KindrelError("Cannot read the message file \"" + path + "\".");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw KindrelError("Cannot read the message file \"" + path + "\".");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int RunPack(PackArgs& args) {
    if (args.pack.viewerFile.empty()) {
        args.pack.viewerFile = DefaultViewer(args.plain);
        if (args.pack.viewerFile.empty())
            throw KindrelError(
                "No viewer executable: kindrel-viewer is not installed beside kindrel. "
                "Name one with --viewer EXE.");
    }
    if (!args.messageFile.empty()) args.pack.message = ReadMessageFile(args.messageFile);
    const PackResult result = PackSelfViewing(args.pack);
    EndProgressLine();
    const WUniqueFd packed = OpenForReading(args.pack.outputFile);
    const std::string kind = ViewerKind(packed.Get(), result.viewerBytes);
    std::cout << "Packed " << args.pack.outputFile << ": "
              << kind.substr(0, kind.find_first_of(" ,")) << " viewer part " << result.viewerBytes
              << " bytes" << (result.viewerHadTrailer ? " (its old payload left out)" : "")
              << ", archive " << result.archiveBytes << " bytes in " << result.trailer.blockCount
              << (result.trailer.blockCount == 1 ? " block" : " blocks") << ", "
              << result.outputBytes << " bytes in all.\n";
    return 0;
}

// Prints "Label: value"; further lines of a multi-line value are indented under the first.
void PrintField(const char* label, const std::string& value) {
    if (value.empty()) {
        std::cout << label << ":\n";
        return;
    }
    const std::string prefix = std::string(label) + ": ";
    std::cout << prefix;
    const std::string indent(prefix.size(), ' ');
    size_t start = 0;
    bool first = true;
    while (start <= value.size()) {
        size_t end = value.find_first_of("\r\n", start);
        if (end == std::string::npos) end = value.size();
        if (!first) std::cout << indent;
        std::cout << value.substr(start, end - start) << "\n";
        first = false;
        if (end == value.size()) break;
        // CRLF, LF and a lone CR each end one line.
        start = end + (value.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        if (start == value.size()) break;
    }
}

int RunTrailer(const std::string& file) {
    const SelfViewFileInfo info = ReadSelfViewTrailer(file);
    const SelfViewTrailer& t = info.trailer;
    const WUniqueFd fd = OpenForReading(file);
    std::cout << "Kind: " << ViewerKind(fd.Get(), t.payloadOffset) << "\n"
              << "Payload offset: " << t.payloadOffset << "\n"
              << "Block count: " << t.blockCount << "\n"
              << "Payload bytes: " << info.payloadBytes << "\n"
              << "Start individual: " << t.startIndividual << "\n"
              << "Extract allowed: " << (t.extractAllowed ? "Yes" : "No") << "\n"
              << "Created: " << FormatIsoDateTime(t.created) << "\n";
    PrintField("File name", t.fileName);
    PrintField("Title", t.title);
    PrintField("Sender name", t.senderName);
    PrintField("E-mail", t.senderEmail);
    PrintField("Address 1", t.address1);
    PrintField("Address 2", t.address2);
    PrintField("Web site", t.webSite);
    PrintField("Phone", t.phone);
    PrintField("Message", t.message);
    return 0;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

int RunExpand(const ExpandArgs& args) {
    if (SameFile(args.input, args.output))
        throw KindrelError("The output \"" + args.output + "\" is the input file itself.");
    if (std::filesystem::is_directory(args.output))
        throw KindrelError("The output \"" + args.output + "\" is a folder.");
    // Written beside the target and renamed into place once complete, so a failed expansion
    // leaves no partial file behind.
    WAtomicOutput output(args.output);
    ExpandResult result;
    if (args.blocks > 0) {
        WBlokarCompress expander;
        result = expander.Expand(args.input, output.TempName(), args.blocks);
    } else {
        result = ExpandSelfViewFile(args.input, output.TempName()).expand;
    }
    output.Commit();
    EndProgressLine();
    if (result.crcFailures > 0) {
        std::cerr << "kindrel: " << result.crcFailures << " of " << result.blocks
                  << " blocks failed their CRC check; " << args.output
                  << " was written but may be damaged.\n";
        return kExitCrcMismatch;
    }
    return 0;
}

void AddPack(CLI::App& app, int& exitCode) {
    auto args = std::make_shared<PackArgs>();
    CLI::App* cmd = app.add_subcommand(
        "pack", "Pack a GEDCOM file into a self-viewing file: the viewer, the archive, a trailer");
    cmd->add_option("GEDCOM", args->pack.gedcomFile, "The GEDCOM file to embed")->required();
    cmd->add_option("-o,--output", args->pack.outputFile, "The self-viewing file to write")
        ->required();
    CLI::Option* viewer = cmd->add_option(
        "--viewer", args->pack.viewerFile,
        "The viewer executable to copy in front of the archive (default: the portable viewer "
        "part kindrel-portable beside kindrel, else kindrel-viewer)");
    cmd->add_flag("--plain", args->plain,
                  "Pack the plain kindrel-viewer: small, but the receiver needs Qt 6 installed")
        ->excludes(viewer);
    cmd->add_option("--title", args->pack.title, "Title (32 bytes)");
    cmd->add_option("--sender-name", args->pack.senderName, "Sender's name (64 bytes)");
    cmd->add_option("--email", args->pack.senderEmail, "Sender's e-mail address (64 bytes)");
    cmd->add_option("--address1", args->pack.address1, "Address line 1 (64 bytes)");
    cmd->add_option("--address2", args->pack.address2, "Address line 2 (64 bytes)");
    cmd->add_option("--web", args->pack.webSite, "Web site (64 bytes)");
    cmd->add_option("--phone", args->pack.phone, "Phone (32 bytes)");
    CLI::Option* message =
        cmd->add_option("--message", args->pack.message, "Message to the receiver (1024 bytes)");
    CLI::Option* messageFile = cmd->add_option("--message-file", args->messageFile,
                                               "Read the message from a UTF-8 text file");
    message->excludes(messageFile);
    cmd->add_flag("--allow-extract", args->pack.allowExtract,
                  "Let the receiver save the GEDCOM to a file");
    cmd->add_option("--start-individual", args->pack.startIndividual,
                    "Individual number shown first (default 1)")
        ->check(CLI::PositiveNumber);
    cmd->footer("Texts longer than their field are cut at a character boundary, with a warning.");
    cmd->callback([args, &exitCode] { exitCode = RunGuarded([&] { return RunPack(*args); }); });
}

void AddTrailer(CLI::App& app, int& exitCode) {
    auto file = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand("trailer", "Print the trailer of a self-viewing file");
    cmd->add_option("FILE", *file, "The self-viewing file")->required();
    cmd->callback([file, &exitCode] { exitCode = RunGuarded([&] { return RunTrailer(*file); }); });
}

void AddExpand(CLI::App& app, int& exitCode) {
    auto args = std::make_shared<ExpandArgs>();
    CLI::App* cmd = app.add_subcommand(
        "expand", "Write the GEDCOM embedded in a self-viewing file (or a bare archive)");
    cmd->add_option("FILE", args->input, "The self-viewing file, or with --blocks an archive")
        ->required();
    cmd->add_option("-o,--output", args->output, "The file to write")->required();
    cmd->add_option("--blocks", args->blocks,
                    "Treat FILE as a bare \"QZLM\" archive and expand N blocks")
        ->check(CLI::PositiveNumber);
    cmd->footer("Exit code 2: a block failed its CRC check (the output is written all the same).");
    cmd->callback([args, &exitCode] { exitCode = RunGuarded([&] { return RunExpand(*args); }); });
}

}  // namespace

// Adds the pack, trailer and expand commands.
void AddPayloadCommands(CLI::App& app, int& exitCode) {
    AddPack(app, exitCode);
    AddTrailer(app, exitCode);
    AddExpand(app, exitCode);
}

}  // namespace kindrel::cli
