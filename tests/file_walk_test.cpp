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
    const std::string card = (dir.path() / "card").string();
    const std::string notes = (dir.path() / "notes.txt").string();
    size_t lastFound = 0;
    WalkOptions options;
    options.keepGoing = [] { return true; };
    options.found = [&](size_t found) { lastFound = found; };
    options.problem = [](const WalkProblem&) {};

    const FileList flat = collectFiles({notes, card, notes}, options);
    EXPECT_EQ(flat.paths, (std::vector<std::string>{notes, card + "/a.nef", card + "/b.JPEG"}));
    EXPECT_TRUE(flat.anyFolder);
    options.recursive = true;
    EXPECT_EQ(collectFiles({card}, options).paths,
              (std::vector<std::string>{card + "/a.nef", card + "/b.JPEG", card + "/sub/d.jpg"}));
    EXPECT_TRUE(hasImageExtension("X.JpEg"));
    EXPECT_FALSE(hasImageExtension("X.jpg.txt"));
}
