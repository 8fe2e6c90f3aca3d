// The real files of makers other than Nikon in ../shared/corpus/makers, each
// read as its MANIFEST.tsv says, through the reading context and through the
// command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "readout.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

struct ManifestRow {
    std::string file;
    std::string expected;
    std::string make;
    std::string model;
};

std::vector<ManifestRow> manifest(const fs::path& dir) {
    std::vector<ManifestRow> rows;
    std::ifstream in(dir / "MANIFEST.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        ManifestRow row;
        std::getline(fields, row.file, '\t');
        std::getline(fields, row.expected, '\t');
        std::getline(fields, row.make, '\t');
        std::getline(fields, row.model, '\t');
        rows.push_back(row);
    }
    return rows;
}

// HEIF files need the container layer that finds their Exif item; an engine
// without one leaves them out, saying so.
#if __has_include("container/container_finder.h")
constexpr bool kContainerLayer = true;
#else
constexpr bool kContainerLayer = false;
#endif

bool readableContainer(const std::string& file) {
    return kContainerLayer || (!file.ends_with(".hif") && !file.ends_with(".HIF"));
}

TEST(MakersCorpus, EveryFileGivesItsManifestResult) {
    const fs::path corpus = testing_support::corpusDir();
    if (corpus.empty() || !fs::exists(corpus / "makers" / "MANIFEST.tsv"))
        GTEST_SKIP() << "../shared/corpus/makers is not here: no real files of other makers to read";
    const fs::path dir = corpus / "makers";
    frametally::Inspector inspector;
    int read = 0;
    for (const ManifestRow& row : manifest(dir)) {
        if (!readableContainer(row.file)) {
            std::cout << "[ SKIPPED  ] " << row.file << ": its container is not read yet\n";
            continue;
        }
        const auto inspection = inspector.inspect((dir / row.file).string());
        EXPECT_EQ(inspection.result, row.expected) << row.file << ": " << inspection.reason;
        EXPECT_EQ(inspection.details.make, row.make) << row.file;
        EXPECT_EQ(inspection.details.model, row.model) << row.file;
        if (row.expected == "No Count") {
            EXPECT_FALSE(inspection.reason.empty()) << row.file;
        }

        const auto cli = testing_support::runTiffwalker({(dir / row.file).string()});
        EXPECT_EQ(cli.out, row.expected + "\n") << row.file;
        ++read;
    }
    EXPECT_GE(read, 7);
}

}  // namespace
