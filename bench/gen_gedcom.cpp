// kindrel-gengedcom: writes a deterministic, realistic GEDCOM file of a chosen size and shape
// for tests and benchmarks. The same options always produce the same bytes.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>

#include "gedcom_generator.h"

namespace {

// Base name of a path, for the header's FILE line.
std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    using kindrel::gen::Charset;
    using kindrel::gen::Shape;

    CLI::App app{
        "kindrel-gengedcom - write a deterministic, realistic GEDCOM file\n"
        "The same options give byte-identical output; the header's FILE line carries the\n"
        "output's base name."};
    uint64_t individuals = 0;
    uint64_t targetBytes = 0;
    std::string output;
    kindrel::gen::GenOptions options;
    Shape shape = Shape::kNormal;
    Charset charset = Charset::kUtf8;
    bool lfOnly = false;

    constexpr uint64_t kMaxCount = kindrel::gen::kMaxIndividuals;
    auto* countOption = app.add_option("N", individuals, "number of individuals")
                            ->check(CLI::Range(uint64_t{1}, kMaxCount));
    auto* bytesOption = app.add_option("--bytes", targetBytes,
                                       "choose N so that the file comes to about this many bytes")
                            ->check(CLI::Range(uint64_t{1}, uint64_t{1} << 40));
    countOption->excludes(bytesOption);
    app.add_option("-o,--output", output, "file to write")->required();
    app.add_option("--seed", options.seed, "seed of the random sequence (default 1)");
    const std::map<std::string, Shape> shapes{
        {"normal", Shape::kNormal}, {"chain", Shape::kChain}, {"wide", Shape::kWide}};
    app.add_option("--shape", shape,
                   "normal: many families and islands; chain: each person the only child "
                   "of the previous; wide: one couple with very many descendants")
        ->transform(CLI::CheckedTransformer(shapes, CLI::ignore_case));
    const std::map<std::string, Charset> charsets{{"UTF-8", Charset::kUtf8},
                                                  {"ANSEL", Charset::kAnsel}};
    app.add_option("--charset", charset, "UTF-8 (default) or ANSEL")
        ->transform(CLI::CheckedTransformer(charsets, CLI::ignore_case));
    const std::map<std::string, bool> lineEnds{{"crlf", false}, {"lf", true}};
    app.add_option("--line-ends", lfOnly, "crlf (default) or lf")
        ->transform(CLI::CheckedTransformer(lineEnds, CLI::ignore_case));
    app.add_flag("--shuffle-ids", options.shuffleIds,
                 "number individuals and families in a random, non-ascending order");

    CLI11_PARSE(app, argc, argv);
    if (countOption->count() == 0 && bytesOption->count() == 0) {
        std::fprintf(stderr, "kindrel-gengedcom: give the number of individuals N or --bytes\n");
        return 2;
    }
    options.shape = shape;
    options.charset = charset;
    options.crlf = !lfOnly;
    options.fileName = BaseName(output);

    try {
        options.individuals = individuals;
        if (bytesOption->count() > 0) {
            options.individuals = kindrel::gen::IndividualsForBytes(options, targetBytes);
        }
        std::FILE* file = std::fopen(output.c_str(), "wb");
        if (file == nullptr) {
            std::fprintf(stderr, "kindrel-gengedcom: cannot create %s: %s\n", output.c_str(),
                         std::strerror(errno));
            return 1;
        }
        kindrel::gen::GedcomSink sink(file);
        const kindrel::gen::GenStats stats = kindrel::gen::GenerateGedcom(options, sink);
        const bool written = sink.Flush();
        if (std::fclose(file) != 0 || !written) {
            std::fprintf(stderr, "kindrel-gengedcom: writing %s failed\n", output.c_str());
            std::remove(output.c_str());
            return 1;
        }
        std::printf("%s: %llu individuals, %llu families, %llu bytes (%.1f bytes per individual)\n",
                    output.c_str(), static_cast<unsigned long long>(stats.individuals),
                    static_cast<unsigned long long>(stats.families),
                    static_cast<unsigned long long>(stats.bytes),
                    static_cast<double>(stats.bytes) / static_cast<double>(stats.individuals));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kindrel-gengedcom: %s\n", error.what());
        return 1;
    }
    return 0;
}
