// Operands to the list of files: named files always, folders' image files
// sorted, recursion only with -r, each file once.
#include "file_walk.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

using namespace frametally::cli;
namespace fs = std::filesystem;

TEST(FileWalk, FolderGivesItsImageFilesSortedNamedFilesComeAsGiven) {
    testing_support::TempDir dir;
    fs::create_directories(dir.path() / "card" / "sub");
    for (const char* name : {"card/b.JPEG", "card/a.nef", "card/c.txt", "card/sub/d.jpg", "notes.txt"})
        dir.write(name, {1});
    const fs::path cardPath = dir.path() / "card";
    const std::string card = cardPath.string();
    // Joined the way the system joins names, so the test holds on Windows too.
    auto inCard = [&](const fs::path& name) { return (cardPath / name).make_preferred().string(); };
    const std::string notes = (dir.path() / "notes.txt").string();
    size_t lastFound = 0;
    WalkOptions options;
    options.keepGoing = [] { return true; };
    options.found = [&](size_t found) { lastFound = found; };
    options.problem = [](const WalkProblem&) {};

    const FileList flat = collectFiles({notes, card, notes}, options);
    EXPECT_EQ(flat.paths, (std::vector<std::string>{notes, inCard("a.nef"), inCard("b.JPEG")}));
    EXPECT_TRUE(flat.anyFolder);
    options.recursive = true;
    EXPECT_EQ(collectFiles({card}, options).paths,
              (std::vector<std::string>{inCard("a.nef"), inCard("b.JPEG"), inCard(fs::path("sub") / "d.jpg")}));
    EXPECT_TRUE(hasImageExtension("X.JpEg"));
    EXPECT_FALSE(hasImageExtension("X.jpg.txt"));
}
